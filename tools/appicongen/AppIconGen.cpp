// appicongen: writes the application icon for the desktop's hicolor icon theme, drawn by the
// same code as the window's icon: a PNG at each fixed size and the scalable SVG.
// Usage: appicongen OUTPUT_DIR ICON_NAME
//   OUTPUT_DIR/hicolor/<n>x<n>/apps/ICON_NAME.png   for n = 16, 32, 48, 64, 128
//   OUTPUT_DIR/hicolor/scalable/apps/ICON_NAME.svg
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/Appicon.h"
#include "framework/core/Exception.h"
#include "framework/runtime/IconImage.h"

namespace {

constexpr int kSizes[] = {16, 32, 48, 64, 128};

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw hx::Exception("Cannot write " + path.string());
}

void Generate(const std::filesystem::path& root, const std::string& name)
{
    for (const int size : kSizes) {
        const std::string dimensions = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path dir = root / "hicolor" / dimensions / "apps";
        std::filesystem::create_directories(dir);
        hx::TBitmap icon;
        hx::DrawApplicationIcon(icon, size);
        hx::SaveIconToFile(icon, (dir / (name + ".png")).string());
    }
    const std::filesystem::path dir = root / "hicolor" / "scalable" / "apps";
    std::filesystem::create_directories(dir);
    WriteText(dir / (name + ".svg"), hx::ApplicationIconSvg());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: appicongen OUTPUT_DIR ICON_NAME\n";
        return 2;
    }
    try {
        Generate(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "appicongen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
