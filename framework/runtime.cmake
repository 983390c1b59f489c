add_library(fw_runtime STATIC
  Control.cpp WinControl.cpp Form.cpp Application.cpp Menus.cpp)
target_link_libraries(fw_runtime PUBLIC fw_services PRIVATE Qt6::Gui Qt6::Widgets)
