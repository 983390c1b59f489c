#pragma once
// TBitmap: an image held in memory in one of a few pixel formats, drawn with TCanvas::Draw
// and drawn on through its own Canvas.
//
// Formats and their rows (ScanLine):
//   pfDevice, pf32bit  32-bit words red << 16 | green << 8 | blue (blue in the low byte)
//   pf24bit            bytes B, G, R per pixel, rows padded to 4 bytes
//   pf1bit             packed bits, most significant first, 1 = white; rows padded to 4 bytes
// pfDevice is the device-dependent (bmDDB) form; the others are device independent unless
// HandleType says otherwise. Conversions: to 1 bit exactly-white pixels become 1 and all
// others 0; to 24 or 32 bits colours are kept.
//
// OnChange is raised on every real change (size, format, handle type, drawing through the
// canvas, loading, transparency) and never for a setter given the current value, so a
// handler that converts the bitmap sees its nested notification end at once.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Color.h"
#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace hx {

class TCanvas;
struct TBitmapImage; // pixels and the canvas (implementation only)

enum TPixelFormat : unsigned char { pfDevice, pf1bit, pf24bit, pf32bit };
enum TBitmapHandleType : unsigned char { bmDIB, bmDDB };

class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;
    const char* ClassName() const override { return "TBitmap"; }

    int Width() const;
    int Height() const;
    void SetWidth(int value);
    void SetHeight(int value);
    // Keeps the pixels of the common part; new pixels are white.
    void SetSize(int width, int height);
    bool Empty() const; // no image, or a 0 width or height

    TPixelFormat PixelFormat() const;
    void SetPixelFormat(TPixelFormat value);
    // bmDDB turns pfDevice-compatible formats into pfDevice (a 1-bit image stays 1 bit);
    // bmDIB turns pfDevice into pf32bit.
    TBitmapHandleType HandleType() const;
    void SetHandleType(TBitmapHandleType value);
    bool Monochrome() const; // the image is one bit deep
    // True converts to 1 bit; false converts a 1-bit image to pfDevice (bmDDB) or pf32bit.
    void SetMonochrome(bool value);

    // Row y in the layout of the current format. Raises EInvalidGraphic for a row outside
    // the image. Writing through it is not a change notification.
    void* ScanLine(int y);

    TCanvas* Canvas();

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // Until set, the colour of the bottom-left pixel (clDefault for an empty image);
    // setting it fixes it.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);

    // The pixel at (x, y) as 0x00RRGGBB (a 1-bit pixel reads black or white); 0 outside.
    std::uint32_t PixelWord(int x, int y) const;

    // Copies pixels, format, handle type and transparency of source (a TBitmap); a null
    // source raises the assignment error.
    void CopyValuesFrom(TPersistent* source) override;
    void CopyValuesTo(TPersistent* dest) override;

    // Any image format Qt reads. A file or data that cannot be read raises EInvalidGraphic
    // (the message names the file) and leaves the bitmap as it was.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const; // format from the extension, else PNG
    // Image data (as a form description carries it) is refused beyond kMaxDataSide pixels
    // on a side, the most that PNG, the format SaveToData writes, can hold: what reads must
    // write back.
    static constexpr int kMaxDataSide = 1000000;
    void LoadFromData(const std::vector<std::uint8_t>& data);
    std::vector<std::uint8_t> SaveToData() const; // PNG bytes

    // Drops the pixels: the bitmap becomes 0 x 0.
    void ReleaseImage();

    TNotifyEvent OnChange;

    // Framework-private: the pixel store.
    TBitmapImage& Image() const { return *FImage; }
    void Changed();

private:
    std::unique_ptr<TBitmapImage> FImage;
    bool FTransparent = false;
    bool FTransparentFixed = false;
    TColor FTransparentColor = clDefault;
};

} // namespace hx
