add_library(fw_services STATIC
  QtPlatform.cpp RecordingPlatform.cpp Timer.cpp Clipboard.cpp IniFiles.cpp)
target_link_libraries(fw_services PUBLIC fw_graphics PRIVATE Qt6::Gui Qt6::Widgets)
