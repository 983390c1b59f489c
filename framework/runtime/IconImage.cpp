#include "framework/runtime/IconImage.h"

#include <cstdint>

#include <QString>

#include "framework/core/Exception.h"
#include "framework/runtime/IconImagePrivate.h"

namespace hx {

QImage IconToQImage(const TBitmap& image)
{
    QImage icon(image.Width(), image.Height(), QImage::Format_ARGB32);
    const std::uint32_t key = static_cast<std::uint32_t>(ColorToRGB(image.TransparentColor()));
    const std::uint32_t keyWord = (key & 0xFFu) << 16 | (key & 0xFF00u) | (key >> 16 & 0xFFu);
    for (int y = 0; y < image.Height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(icon.scanLine(y));
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t word = image.PixelWord(x, y) & 0xFFFFFFu;
            row[x] = image.Transparent() && word == keyWord ? 0u : (0xFF000000u | word);
        }
    }
    return icon;
}

void SaveIconToFile(const TBitmap& image, const std::string& fileName)
{
    if (image.Empty())
        throw EInvalidGraphic("Cannot write an empty icon to '" + fileName + "'");
    if (!IconToQImage(image).save(QString::fromStdString(fileName), "PNG"))
        throw EInvalidGraphic("Cannot write the image file '" + fileName + "'");
}

} // namespace hx
