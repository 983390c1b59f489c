#include "MainFormFixture.h"

#include <fstream>
#include <sstream>

namespace hx::test {

void MainFormTest::WriteSettings(const std::string& text) const
{
    std::ofstream(SettingsFile(), std::ios::binary) << text;
}

std::string MainFormTest::ReadSettings() const
{
    std::ifstream in(SettingsFile(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace hx::test
