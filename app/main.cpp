// The process entry: everything happens in the main window's unit.
#include "app/Mainwindow1.h"

int main(int argc, char** argv)
{
    return hx::HexatintMain(argc, argv);
}
