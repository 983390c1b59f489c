add_library(fw_graphics STATIC
  GuiSession.cpp Font.cpp Pen.cpp Brush.cpp Canvas.cpp Bitmap.cpp Gdi.cpp FontSubstitution.cpp)
target_link_libraries(fw_graphics PUBLIC fw_core PRIVATE Qt6::Gui Qt6::Widgets)
