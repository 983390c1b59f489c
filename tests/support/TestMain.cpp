// The main of every unit-test program: a GUI session on the offscreen platform, then gtest.
#include <cstdlib>

#include <gtest/gtest.h>

#include "framework/graphics/GuiSession.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // CTest sets the platform for test runs; test discovery runs the program bare.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    hx::EnsureGuiSession(&argc, argv);
    return RUN_ALL_TESTS();
}
