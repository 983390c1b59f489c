add_library(fw_runtime STATIC
  Control.cpp ControlCanvas.cpp WinControl.cpp Form.cpp FormWindow.cpp Application.cpp Menus.cpp
  Buttons.cpp IconImage.cpp Accessibility.cpp FirstFrameReport.cpp)
target_link_libraries(fw_runtime PUBLIC fw_services PRIVATE Qt6::Gui Qt6::Widgets)
# On X11 the form window sets its window type itself (FormWindow.cpp); without the xcb
# headers it keeps the toolkit's type.
find_path(HX_XCB_INCLUDE_DIR xcb/xcb.h)
find_library(HX_XCB_LIBRARY xcb)
if(HX_XCB_INCLUDE_DIR AND HX_XCB_LIBRARY)
  target_compile_definitions(fw_runtime PRIVATE HX_HAVE_XCB)
  target_include_directories(fw_runtime PRIVATE ${HX_XCB_INCLUDE_DIR})
  target_link_libraries(fw_runtime PRIVATE ${HX_XCB_LIBRARY})
endif()
