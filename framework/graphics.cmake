add_library(fw_graphics STATIC
  GuiSession.cpp Font.cpp Pen.cpp Brush.cpp Canvas.cpp Bitmap.cpp Gdi.cpp FontSubstitution.cpp)
target_link_libraries(fw_graphics PUBLIC fw_core PRIVATE Qt6::Gui Qt6::Widgets)
# The session asks the X server whether it answers before the toolkit tries (GuiSession.cpp).
find_path(HX_XCB_INCLUDE_DIR xcb/xcb.h)
find_library(HX_XCB_LIBRARY xcb)
if(HX_XCB_INCLUDE_DIR AND HX_XCB_LIBRARY)
  target_compile_definitions(fw_graphics PRIVATE HX_HAVE_XCB)
  target_include_directories(fw_graphics PRIVATE ${HX_XCB_INCLUDE_DIR})
  target_link_libraries(fw_graphics PRIVATE ${HX_XCB_LIBRARY})
endif()
