// The main of every unit-test program: a GUI session on the offscreen platform, then gtest.
#include <cstdlib>

#include <gtest/gtest.h>

#include "framework/graphics/GuiSession.h"
#include "framework/services/Translator.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // CTest sets the platform for test runs; test discovery runs the program bare.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    hx::EnsureGuiSession(&argc, argv);
    // Tests read the texts as written, whatever the machine's locale; a test of another
    // language selects it and selects this one again when it ends.
    hx::SelectLanguage(std::string(hx::kSourceLanguage));
    return RUN_ALL_TESTS();
}
