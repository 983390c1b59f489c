add_library(fw_core STATIC
  Types.cpp Exception.cpp Object.cpp Component.cpp TypInfo.cpp Platform.cpp Color.cpp Chars.cpp
  MessageText.cpp)
target_link_libraries(fw_core PRIVATE Qt6::Core)
