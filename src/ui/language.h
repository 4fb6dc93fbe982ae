// The language strings: the language-identifier table, the system
// language's table name, the choice of one language of a package's language
// block per process, and the lookups by key with built-in defaults.
#pragma once

#include <string>

// A list text of 51 rows "NAME   = number": Windows primary language ids
// (two digits at least) and a few full language ids.
extern const char LanguageIdTable[];

// The primary language of a locale identifier, English (9) when the
// locale's language is 0.
int PrimaryLanguageOfLocale(unsigned long localeId);

// The table name found for a primary language (a digit search over the
// rows, so a language without a row may find a row whose number contains
// its digits), or the empty text.
std::string LanguageNameOf(int primaryLanguage);

// The system language, read once at start-up by the Windows layer; English
// until then.
void SetSystemLanguage(int primaryLanguage);
int SystemLanguage();
std::string SystemLanguageName();

// The language item of block for a system language name: the first whose
// name matches it (ignoring case and surrounding blanks), else the only
// language, else English, else "*".
std::string ChooseLanguage(const std::string& block, const std::string& systemName);

// The value of key in a chosen language item, or def ("*" or a text of one
// character or less has no values).
std::string LangStringIn(const std::string& language, const std::string& key, const std::string& def);

// The process's language: chosen from the first block asked about and kept
// for the rest of the process, whichever block asks later.
std::string SelectedLanguage(const std::string& block);
// Forgets the choice (for tests).
void ResetLanguageChoice();

// The lookups of a package's language block through the process's language.
std::string PackageLangString(const std::string& block, const std::string& key, const std::string& def);
int PackageLangCharset(const std::string& block);
int PackageLangFontSize(const std::string& block);
std::string PackageLangFontName(const std::string& block);

// The built-in English texts of the package's language block, by key.
namespace LangKey {
constexpr const char* MainTitle = "s0";
constexpr const char* Extracting = "s1";
constexpr const char* SpaceOpening = "s2";
constexpr const char* SpaceShortOpening = "s3";
constexpr const char* SpaceRequired = "s4";
constexpr const char* SpaceAvailable = "s5";
constexpr const char* SpaceContinue = "s6";
constexpr const char* BadCrc = "s7";
constexpr const char* InsertDisk = "s8";
constexpr const char* Downloading = "s10";
constexpr const char* DownloadQuestion = "s11";
constexpr const char* NoConnection = "s12";
constexpr const char* ButtonText = "BtnText";
constexpr const char* Error = "Error";
constexpr const char* Attention = "Attention";
constexpr const char* Confirm = "Confirm";
constexpr const char* Charset = "Charset";
constexpr const char* FontSize = "FontSize";
constexpr const char* FontName = "FontName";
}  // namespace LangKey

// The default text of a key of the package's language block, or the empty
// text for a key the block does not know.
std::string LangDefault(const std::string& key);
// PackageLangString with the key's built-in default.
std::string PackageLangText(const std::string& block, const std::string& key);

// The built-in texts of the agent's settings file, section [AutoUpdate]
// (empty for the keys whose text only a settings file gives) and [MsgBox].
std::string AgentDefault(const std::string& key);
std::string AgentMsgBoxDefault(const std::string& key);
