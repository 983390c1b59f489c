#include "framework/graphics/Font.h"

#include <cstdlib>
#include <map>
#include <tuple>

#include "framework/core/StartupMarks.h"
#include "framework/graphics/FontConfigReading.h"
#include "framework/graphics/FontPrivate.h"
#include "framework/graphics/FontSubstitution.h"
#include "framework/graphics/GuiSession.h"

namespace hx {

namespace {

// Integer a * b / c rounded half away from zero, as point/pixel conversions round.
int MulDivRound(int a, int b, int c)
{
    const long long n = static_cast<long long>(a) * b;
    const long long q = (std::llabs(n) + c / 2) / c;
    return static_cast<int>(n < 0 ? -q : q);
}

// A positive height names the whole cell (ascent + descent); find the em that gives it.
int EmForCellHeight(QFont face, int cell)
{
    face.setPixelSize(cell);
    const QFontMetrics probe(face);
    const int probeCell = probe.ascent() + probe.descent();
    if (probeCell <= 0)
        return cell;
    return std::max(1, cell * cell / probeCell);
}

QFont BuildFace(const TFont& font)
{
    EnsureGuiSession();
    RegisterFontSubstitutions();
    QFont face(QString::fromStdString(ResolvedFamily(font)));
    // Exact pixels: every text pixel is either the text colour or untouched.
    face.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    face.setHintingPreference(QFont::PreferFullHinting);
    face.setKerning(false);
    const int height = font.Height();
    if (height < 0)
        face.setPixelSize(-height);
    else if (height > 0)
        face.setPixelSize(EmForCellHeight(face, height));
    else
        face.setPixelSize(11);
    const TFontStyles style = font.Style();
    face.setBold((style & fsBold) != 0);
    face.setItalic((style & fsItalic) != 0);
    face.setUnderline((style & fsUnderline) != 0);
    face.setStrikeOut((style & fsStrikeOut) != 0);
    return face;
}

// Faces by their attributes. Never freed: fonts freed during the process's exit may still
// hold a face, and Qt's font objects must not outlive the toolkit.
using TFaceKey = std::tuple<std::string, int, TFontCharset, TFontStyles>;

std::map<TFaceKey, TFontFace*>& Faces()
{
    static auto* faces = new std::map<TFaceKey, TFontFace*>;
    return *faces;
}

} // namespace

TFontFace& FaceOf(const TFont& font)
{
    TFontData& data = font.Data();
    if (!data.Face) {
        TFontFace*& face = Faces()[TFaceKey(font.Name(), font.Height(), font.Charset(), font.Style())];
        if (!face) {
            MarkStartup("fonts asked");
            AwaitFontConfigReading();
            face = new TFontFace(BuildFace(font));
            MarkStartup("fonts ready");
        }
        data.Face = face;
    }
    return *data.Face;
}

namespace {

// Captions are few and repeat; the bound only guards against a program that measures
// endless different texts.
constexpr std::size_t kMaxTextsPerFace = 4096;

} // namespace

const QFont& QtFontOf(const TFont& font)
{
    return FaceOf(font).Face;
}

const QFontMetrics& QtMetricsOf(const TFont& font)
{
    return FaceOf(font).Metrics;
}

const TTextMetrics& TextMetricsOf(const TFont& font, const std::string& text)
{
    TFontFace& face = FaceOf(font);
    auto it = face.Texts.find(text);
    if (it != face.Texts.end())
        return it->second;
    if (face.Texts.size() >= kMaxTextsPerFace)
        face.Texts.clear();
    const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return face.Texts.emplace(text, TTextMetrics{face.Metrics.horizontalAdvance(line), face.Metrics.boundingRect(line)})
        .first->second;
}

TFont::TFont() : FData(std::make_unique<TFontData>()) {}

TFont::~TFont() = default;

void TFont::Changed(bool faceChanged)
{
    if (faceChanged)
        FData->Face = nullptr;
    if (OnChange)
        OnChange(this);
}

void TFont::SetName(const std::string& value)
{
    if (value == FName)
        return;
    FName = value;
    Changed();
}

void TFont::SetHeight(int value)
{
    if (value == FHeight)
        return;
    FHeight = value;
    Changed();
}

int TFont::Size() const
{
    return MulDivRound(-FHeight, 72, 96);
}

void TFont::SetSize(int value)
{
    SetHeight(-MulDivRound(value, 96, 72));
}

void TFont::SetCharset(TFontCharset value)
{
    if (value == FCharset)
        return;
    FCharset = value;
    Changed();
}

void TFont::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed(false); // the colour is not part of the Qt face
}

void TFont::SetStyle(TFontStyles value)
{
    value &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TFont::CopyValuesTo(TPersistent* dest)
{
    auto* font = dynamic_cast<TFont*>(dest);
    if (!font) {
        TPersistent::CopyValuesTo(dest);
        return;
    }
    const bool sameFace = font->FName == FName && font->FHeight == FHeight &&
                          font->FCharset == FCharset && font->FStyle == FStyle;
    font->FName = FName;
    font->FHeight = FHeight;
    font->FCharset = FCharset;
    font->FColor = FColor;
    font->FStyle = FStyle;
    // The attributes are equal now, so is the face: a fresh font (a paint's own bitmap
    // canvas) needs no lookup.
    if (!sameFace)
        font->FData->Face = FData->Face;
    font->Changed(false);
}

void TFont::CopyValuesFrom(TPersistent* source)
{
    TPersistent::CopyValuesFrom(source);
}

} // namespace hx
