add_library(fw_streaming STATIC
  ClassRegistry.cpp FormReader.cpp FormWriter.cpp FrameworkClasses.cpp)
target_link_libraries(fw_streaming PUBLIC fw_runtime PRIVATE Qt6::Core)
