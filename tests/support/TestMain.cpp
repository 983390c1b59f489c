// The main of every unit-test program: a GUI session on the offscreen platform, then gtest.
#include <gtest/gtest.h>

#include "framework/GuiSession.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    hx::EnsureGuiSession(&argc, argv);
    return RUN_ALL_TESTS();
}
