// The windowing platform chosen before the session is made, from the environment alone: a
// Wayland session goes through Xwayland, a user's choice stays, and no display is said so.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "framework/graphics/GuiSession.h"

namespace hx {
namespace {

const char* const kNames[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY", "XDG_RUNTIME_DIR"};

// Keeps the four variables and puts them back; a compositor stand-in listens at wayland-9
// in a runtime folder of the test's own.
class DisplayChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 4; ++i)
            if (const char* value = std::getenv(kNames[i]))
                FKept[i] = value;
        char pattern[] = "/tmp/hx-runtime-XXXXXX";
        FRuntime = ::mkdtemp(pattern);
        FListener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const std::string path = FRuntime + "/wayland-9";
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(FListener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(::listen(FListener, 8), 0);
    }
    void TearDown() override
    {
        ::close(FListener);
        std::filesystem::remove_all(FRuntime);
        for (int i = 0; i < 4; ++i)
            FKept[i] ? ::setenv(kNames[i], FKept[i]->c_str(), 1) : ::unsetenv(kNames[i]);
    }

    // Sets the variables ("" unsets), chooses, and tells "<result> <QT_QPA_PLATFORM after>".
    std::string Choose(const char* platform, const char* wayland, const char* display)
    {
        const char* values[] = {platform, wayland, display};
        for (int i = 0; i < 3; ++i)
            *values[i] ? ::setenv(kNames[i], values[i], 1) : ::unsetenv(kNames[i]);
        ::setenv("XDG_RUNTIME_DIR", FRuntime.c_str(), 1);
        const bool ok = ChooseDisplayPlatform();
        const char* chosen = std::getenv("QT_QPA_PLATFORM");
        return std::string(ok ? "display" : "none") + " " + (chosen ? chosen : "(unset)");
    }

    std::string FRuntime;

private:
    std::optional<std::string> FKept[4];
    int FListener = -1;
};

TEST_F(DisplayChoice, WaylandGoesThroughXwaylandAndTheUsersChoiceStays)
{
    const std::string socket = FRuntime + "/wayland-9";
    const struct {
        const char* Platform;
        const char* Wayland;
        const char* Display;
        std::string Expected;
    } cases[] = {
        {"", "wayland-9", ":0", "display xcb"},
        {"", "wayland-gone", ":0", "display xcb"},
        {"", "", ":0", "display (unset)"},
        {"", "wayland-9", "", "display wayland"},
        {"", socket.c_str(), "", "display wayland"},
        {"", "wayland-gone", "", "none (unset)"},
        {"", "", "", "none (unset)"},
        {"xcb", "wayland-9", ":0", "display xcb"},
        {"xcb", "", "", "none xcb"},
        {"wayland", "wayland-9", ":0", "display wayland"},
        {"wayland", "wayland-gone", ":0", "none wayland"},
        {"wayland-egl", "", ":0", "none wayland-egl"},
        {"offscreen", "", "", "display offscreen"},
        {"vnc:size=800x600", "", "", "display vnc:size=800x600"},
        {"wayland;xcb", "", ":0", "display wayland;xcb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("QT_QPA_PLATFORM=") + c.Platform + " WAYLAND_DISPLAY=" + c.Wayland +
                     " DISPLAY=" + c.Display);
        EXPECT_EQ(Choose(c.Platform, c.Wayland, c.Display), c.Expected);
    }
}

} // namespace
} // namespace hx
