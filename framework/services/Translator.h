#pragma once
// The language the program speaks, and the one call every user-visible text goes through.
//
// The program's own texts are written in Japanese. Under any other language they come from
// catalogs built into the executable (Qt Linguist catalogs, ":/i18n/<name>_<lang>.qm"); a
// text a catalog lacks is shown as written. English is the catalog of last resort, so a
// language without a catalog of its own, or with an unfinished one, falls back to English.
//
// Which language the user wants is read from the usual variables, as the C library does:
//
//   locale   = the first non-empty of LC_ALL, LC_MESSAGES, LANG
//   locale C or POSIX (also "C.UTF-8"), or none  ->  no preference (English)
//   otherwise LANGUAGE (a colon-separated list, e.g. "de:ja") first, then the locale's own
//
// and the first wanted language the program has texts for is chosen ("ja_JP.UTF-8" asks for
// "ja"; "pt_BR" for "pt_br", then "pt").
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

// The language of the texts as written.
inline constexpr std::string_view kSourceLanguage = "ja";
// The language of the catalog every other language falls back to.
inline constexpr std::string_view kFallbackLanguage = "en";

struct TLocaleVariables {
    std::string Language;   // LANGUAGE
    std::string All;        // LC_ALL
    std::string Messages;   // LC_MESSAGES
    std::string Lang;       // LANG
};

// The variables of this process.
TLocaleVariables LocaleVariablesOfProcess();

// The languages the variables ask for, most wanted first, lower-case ("ja", "pt_br", "pt").
// Empty when the locale is C or POSIX or unset.
std::vector<std::string> WantedLanguages(const TLocaleVariables& variables);

// The languages the program has texts for: the source language and every built-in catalog's.
std::vector<std::string> AvailableLanguages();

// The first wanted language that is available; the fallback language when none is.
std::string ChooseLanguage(const std::vector<std::string>& wanted, const std::vector<std::string>& available);

// Makes language the one texts are shown in (a language without a catalog shows English).
// Until this is called, the first translation chooses from the process's variables.
void SelectLanguage(const std::string& language);
// The language texts are shown in.
const std::string& SelectedLanguage();

// Source translated for the selected language, looked up under context (the class or form
// the text belongs to). "%1" … "%9" in the result are replaced by args[0] … args[8].
// A text without a translation is returned as written, with its arguments filled in.
std::string Tr(std::string_view context, std::string_view source, std::initializer_list<std::string_view> args = {});

// Installs the toolkit's own translations (standard dialog buttons and the like) for the
// selected language, where the system has them. Needs the GUI session.
void InstallToolkitTranslations();

} // namespace hx
