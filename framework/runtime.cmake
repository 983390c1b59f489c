add_library(fw_runtime STATIC
  Control.cpp ControlCanvas.cpp WinControl.cpp Form.cpp FormWindow.cpp Application.cpp Menus.cpp
  Buttons.cpp IconImage.cpp Accessibility.cpp FirstFrameReport.cpp)
target_link_libraries(fw_runtime PUBLIC fw_services PRIVATE Qt6::Gui Qt6::Widgets)
