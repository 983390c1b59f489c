#include "framework/graphics/FontSubstitution.h"

#include <map>
#include <mutex>

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include "framework/graphics/Font.h"
#include "framework/graphics/GuiSession.h"

namespace hx {

namespace {

const char* const kDefaultSans = "DejaVu Sans";

struct Substitution {
    const char* Name;
    QStringList Candidates; // in order of preference; the default sans comes last
};

const std::vector<Substitution>& Substitutions()
{
    static const std::vector<Substitution> table = {
        {"ＭＳ Ｐゴシック", {"Konatu", "IPAPGothic", "VL PGothic", "Noto Sans CJK JP", kDefaultSans}},
        {"MS PGothic", {"Konatu", "IPAPGothic", "VL PGothic", "Noto Sans CJK JP", kDefaultSans}},
        {"MS Sans Serif", {kDefaultSans}},
        {"Tahoma", {kDefaultSans}},
    };
    return table;
}

bool Installed(const QString& family)
{
    static const QStringList families = QFontDatabase::families();
    return families.contains(family, Qt::CaseInsensitive);
}

QString DefaultSans()
{
    if (Installed(kDefaultSans))
        return kDefaultSans;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QString Resolve(const QString& name)
{
    for (const Substitution& entry : Substitutions()) {
        if (name.compare(QString::fromUtf8(entry.Name), Qt::CaseInsensitive) != 0)
            continue;
        for (const QString& candidate : entry.Candidates)
            if (Installed(candidate))
                return candidate;
        return DefaultSans();
    }
    if (!name.isEmpty() && Installed(name))
        return name;
    return DefaultSans();
}

} // namespace

void RegisterFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        EnsureGuiSession();
        // A QFont asked for by one of the product's names outside TFont finds the same
        // families as our own fonts do. Menus, hints and message boxes ask for no name:
        // they keep the desktop's own font.
        for (const Substitution& entry : Substitutions())
            QFont::insertSubstitutions(QString::fromUtf8(entry.Name), entry.Candidates);
    });
}

std::string ResolvedFamily(const std::string& name)
{
    EnsureGuiSession();
    static std::map<std::string, std::string> cache;
    auto found = cache.find(name);
    if (found != cache.end())
        return found->second;
    const std::string family = Resolve(QString::fromStdString(name)).toStdString();
    cache.emplace(name, family);
    return family;
}

std::string ResolvedFamily(const TFont& font)
{
    return ResolvedFamily(font.Name());
}

} // namespace hx
