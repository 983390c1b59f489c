#include "framework/services/Translator.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>

namespace hx {

namespace {

constexpr const char* kCatalogFolder = ":/i18n";

struct TTranslations {
    bool Chosen = false;
    std::string Language;
    // Consulted last to first: the language's own catalogs, then the fallback's.
    std::vector<std::unique_ptr<QTranslator>> Catalogs;
    std::unique_ptr<QTranslator> Toolkit;
};

TTranslations& State()
{
    static TTranslations state;
    return state;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "pt_BR.UTF-8@euro" -> "pt_br"; "C.UTF-8" -> "c".
std::string LanguageOfLocale(std::string_view locale)
{
    const std::size_t end = locale.find_first_of(".@");
    return Lower(std::string(locale.substr(0, end)));
}

// "pt_br" adds itself and then "pt"; "ja" just itself.
void AddWanted(std::vector<std::string>& wanted, const std::string& language)
{
    if (language.empty())
        return;
    auto add = [&](const std::string& l) {
        if (std::find(wanted.begin(), wanted.end(), l) == wanted.end())
            wanted.push_back(l);
    };
    add(language);
    const std::size_t underscore = language.find('_');
    if (underscore != std::string::npos && underscore > 0)
        add(language.substr(0, underscore));
}

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Catalog names are matched by hand: a name filter would compile a regular expression,
// which costs the start half a megabyte of the expression library.

// The language of a built-in catalog's file name, "<name>_<language>.qm"; empty for any
// other name.
QString CatalogLanguage(const QString& name)
{
    if (!name.endsWith(QLatin1String(".qm")))
        return {};
    const QString base = name.chopped(3);
    const qsizetype underscore = base.indexOf('_');
    return underscore < 0 ? QString() : base.mid(underscore + 1);
}

// The catalogs built in for language: every ":/i18n/*_<language>.qm".
QStringList CatalogFiles(const std::string& language)
{
    const QDir folder(kCatalogFolder);
    const QString suffix = "_" + QString::fromStdString(language) + ".qm";
    QStringList files;
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name))
        if (name.endsWith(suffix))
            files << folder.filePath(name);
    return files;
}

void LoadCatalogs(TTranslations& state, const std::string& language)
{
    for (const QString& file : CatalogFiles(language)) {
        auto catalog = std::make_unique<QTranslator>();
        if (catalog->load(file))
            state.Catalogs.push_back(std::move(catalog));
    }
}

TTranslations& Chosen()
{
    TTranslations& state = State();
    if (!state.Chosen)
        SelectLanguage(ChooseLanguage(WantedLanguages(LocaleVariablesOfProcess()), AvailableLanguages()));
    return state;
}

void FillArguments(std::string& text, std::initializer_list<std::string_view> args)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            out += *(args.begin() + index);
            ++i;
        } else {
            out += text[i];
        }
    }
    text = std::move(out);
}

} // namespace

TLocaleVariables LocaleVariablesOfProcess()
{
    return {Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")};
}

std::vector<std::string> WantedLanguages(const TLocaleVariables& variables)
{
    std::string locale = variables.All;
    if (locale.empty())
        locale = variables.Messages;
    if (locale.empty())
        locale = variables.Lang;
    const std::string own = LanguageOfLocale(locale);
    // Under the C locale the C library ignores LANGUAGE too: the user asked for no language.
    if (own.empty() || own == "c" || own == "posix")
        return {};

    std::vector<std::string> wanted;
    std::string_view list = variables.Language;
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        AddWanted(wanted, LanguageOfLocale(list.substr(0, colon)));
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    AddWanted(wanted, own);
    return wanted;
}

std::vector<std::string> AvailableLanguages()
{
    std::vector<std::string> available{std::string(kSourceLanguage)};
    for (const QString& name : QDir(kCatalogFolder).entryList(QDir::Files, QDir::Name)) {
        const QString found = CatalogLanguage(name);
        if (found.isEmpty())
            continue;
        const std::string language = Lower(found.toStdString());
        if (std::find(available.begin(), available.end(), language) == available.end())
            available.push_back(language);
    }
    return available;
}

std::string ChooseLanguage(const std::vector<std::string>& wanted, const std::vector<std::string>& available)
{
    for (const std::string& language : wanted)
        if (std::find(available.begin(), available.end(), language) != available.end())
            return language;
    return std::string(kFallbackLanguage);
}

void SelectLanguage(const std::string& language)
{
    TTranslations& state = State();
    state.Chosen = true;
    state.Language = Lower(language);
    state.Catalogs.clear();
    if (state.Language == kSourceLanguage)
        return;
    if (state.Language != kFallbackLanguage)
        LoadCatalogs(state, std::string(kFallbackLanguage));
    LoadCatalogs(state, state.Language);
}

const std::string& SelectedLanguage()
{
    return Chosen().Language;
}

std::string Tr(std::string_view context, std::string_view source, std::initializer_list<std::string_view> args)
{
    const TTranslations& state = Chosen();
    std::string text(source);
    if (!state.Catalogs.empty()) {
        const std::string contextZ(context);
        for (auto it = state.Catalogs.rbegin(); it != state.Catalogs.rend(); ++it) {
            const QString translated = (*it)->translate(contextZ.c_str(), text.c_str());
            if (!translated.isEmpty()) {
                text = translated.toStdString();
                break;
            }
        }
    }
    if (args.size() != 0)
        FillArguments(text, args);
    return text;
}

void InstallToolkitTranslations()
{
    TTranslations& state = Chosen();
    if (!QCoreApplication::instance())
        return;
    if (state.Toolkit) {
        QCoreApplication::removeTranslator(state.Toolkit.get());
        state.Toolkit.reset();
    }
    auto toolkit = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!toolkit->load("qtbase_" + QString::fromStdString(state.Language), folder))
        return; // not installed: the toolkit speaks English
    QCoreApplication::installTranslator(toolkit.get());
    state.Toolkit = std::move(toolkit);
}

} // namespace hx
