#include "ui/language.h"

#include "support/lists.h"
#include "support/numbers.h"
#include "support/text.h"
#include "ui/msgbox_rules.h"

const char LanguageIdTable[] =
    "|AFRIKAANS            = 54"
    "|ALBANIAN             = 28"
    "|ARABIC               = 01"
    "|BASQUE               = 45"
    "|BELARUSIAN           = 35"
    "|BULGARIAN            = 02"
    "|CATALAN              = 03"
    "|CHINESE              = 04"
    "|CROATIAN             = 26"
    "|CZECH                = 05"
    "|DANISH               = 06"
    "|DUTCH                = 19"
    "|ENGLISH              = 09"
    "|ESTONIAN             = 37"
    "|FAEROESE             = 56"
    "|FARSI                = 41"
    "|FINNISH              = 11"
    "|FRENCH               = 12"
    "|GERMAN               = 07"
    "|GREEK                = 08"
    "|HEBREW               = 13"
    "|HUNGARIAN            = 14"
    "|ICELANDIC            = 15"
    "|INDONESIAN           = 33"
    "|ITALIAN              = 16"
    "|JAPANESE             = 17"
    "|KOREAN               = 18"
    "|LATVIAN              = 38"
    "|LITHUANIAN           = 39"
    "|NORWEGIAN            = 20"
    "|POLISH               = 21"
    "|PORTUGUESE           = 22"
    "|ROMANIAN             = 24"
    "|RUSSIAN              = 25"
    "|SERBIAN              = 26"
    "|SLOVAK               = 27"
    "|SLOVENIAN            = 36"
    "|SPANISH              = 10"
    "|SWEDISH              = 29"
    "|THAI                 = 30"
    "|TURKISH              = 31"
    "|UKRAINIAN            = 34"
    "|VIETNAMESE           = 42"
    "|CHINESE(SIMPLIFIED)  = 2052"
    "|CHINESE(TRADITIONAL) = 1028"
    "|DUTCH(FLEMISH)       = 2067"
    "|DUTCH(STANDARD)      = 1043"
    "|PORTUGUESE(PORTUGAL) = 2070"
    "|PORTUGUESE(BRAZIL)   = 1046"
    "|SERBIAN(LATIN)       = 2074"
    "|SERBIAN(CYRILIC)     = 3098"
    "|";

namespace {

int g_systemLanguage = 9;
bool g_chosen = false;
std::string g_selected;

}  // namespace

int PrimaryLanguageOfLocale(unsigned long localeId)
{
    if ((localeId & 0xFFFF) == 0)
        return 9;
    return static_cast<int>(localeId & 0x3FF);
}

std::string LanguageNameOf(int primaryLanguage)
{
    const std::string digits = ZeroPad(primaryLanguage, 2);
    const std::string table = LanguageIdTable;
    const int rows = ListCount(table);
    for (int i = 0; i < rows; ++i) {
        std::string row = ListItem(table, i, std::string());
        if (Pos(digits, row) > 0 && Pos("=", row) > 1)
            return Trim(TextBefore(row, "=", std::string()));
    }
    return std::string();
}

void SetSystemLanguage(int primaryLanguage)
{
    g_systemLanguage = primaryLanguage;
}

int SystemLanguage()
{
    return g_systemLanguage;
}

std::string SystemLanguageName()
{
    return LanguageNameOf(g_systemLanguage);
}

namespace {

std::string FindLanguage(const std::string& block, const std::string& name)
{
    const int n = ListCount(block);
    for (int i = 0; i < n; ++i) {
        std::string language = ListItem(block, i, std::string());
        if (SameTextTrimmed(ListItem(language, 0, std::string()), name))
            return language;
    }
    return std::string();
}

}  // namespace

std::string ChooseLanguage(const std::string& block, const std::string& systemName)
{
    std::string language = FindLanguage(block, systemName);
    if (language.empty() && ListCount(block) == 1)
        language = ListItem(block, 0, std::string());
    if (language.empty())
        language = FindLanguage(block, "English");
    return language.empty() ? std::string("*") : language;
}

std::string LangStringIn(const std::string& language, const std::string& key, const std::string& def)
{
    if (language.size() <= 1)
        return def;
    return ListValue(language, key, def);
}

std::string SelectedLanguage(const std::string& block)
{
    if (!g_chosen) {
        g_selected = ChooseLanguage(block, SystemLanguageName());
        g_chosen = true;
    }
    return g_selected;
}

void ResetLanguageChoice()
{
    g_chosen = false;
    g_selected.clear();
}

std::string PackageLangString(const std::string& block, const std::string& key, const std::string& def)
{
    return LangStringIn(SelectedLanguage(block), key, def);
}

int PackageLangCharset(const std::string& block)
{
    return TextToInt(PackageLangString(block, LangKey::Charset, "0"), 0);
}

int PackageLangFontSize(const std::string& block)
{
    return TextToInt(PackageLangString(block, LangKey::FontSize, "8"), 8);
}

std::string PackageLangFontName(const std::string& block)
{
    return PackageLangString(block, LangKey::FontName, "Tahoma");
}

namespace {

struct KeyDefault {
    const char* key;
    const char* text;
};

const KeyDefault PackageDefaults[] = {
    {"s0", "Varnel Installation Suite"},
    {"s1", "Extracting Files..."},
    {"s2", "Varnel will extract files to your Temp Drive (<DRIVE>)<P>"},
    {"s3", "Limited Free Space on your Temp Drive! (<DRIVE>)<P>"},
    {"s4", "<P>Estimated space required on your Temp drive is: <T>  <SPACE_REQ> MB<P>"},
    {"s5", "Free space available on your Temp drive is: <T>  <SPACE_AVAIL> MB<P>"},
    {"s6", "<P>Continue with Setup?<P>"},
    {"s7", "Bad CRC!<P>This indicates that your setup file might be corrupted..."},
    {"s8", "Please insert <B>DISK #<DISK_NUM></B> and press OK to continue"},
    {"s10", "Downloading File..."},
    {"s11", "<b>INTERNET DOWNLOAD</b><p><p>Varnel will download the Setup File from the Internet...<p>"
            "Please make sure your Internet connection is properly set.<p><p>Continue with Setup?<p><P>"
            "Size: <SIZE> MB<P>"},
    {"s12", "No valid Internet Connection.<p>Can not Download File!"},
    {"BtnText", DefaultButtonLabels},
    {"Error", "Error"},
    {"Attention", "Attention"},
    {"Confirm", "Confirm"},
    {"Charset", "0"},
    {"FontSize", "8"},
    {"FontName", "Tahoma"},
};

const KeyDefault AgentDefaults[] = {
    {"s3", "File Download Aborted!"},
    {"s4", "File not Found!"},
    {"s5", "Unable to Download File!"},
    {"s31", "Downloading INFO File..."},
    {"s32", "Downloading UPDATE File..."},
    {"s33", "Downloading INFORM File..."},
    {"s34", "New Version"},
    {"s35", "Download"},
};

const KeyDefault AgentMsgBoxDefaults[] = {
    {"BtnText", DefaultButtonLabels},
    {"Error", "Error"},
    {"Attention", "Attention"},
    {"Confirm", "Confirm"},
    {"CharSet", "0"},
    {"FontName", "Tahoma"},
    {"FontSize", "8"},
};

template <std::size_t N>
std::string Lookup(const KeyDefault (&table)[N], const std::string& key)
{
    for (const KeyDefault& row : table)
        if (SameText(row.key, key))
            return row.text;
    return std::string();
}

}  // namespace

std::string LangDefault(const std::string& key)
{
    return Lookup(PackageDefaults, key);
}

std::string PackageLangText(const std::string& block, const std::string& key)
{
    return PackageLangString(block, key, LangDefault(key));
}

std::string AgentDefault(const std::string& key)
{
    return Lookup(AgentDefaults, key);
}

std::string AgentMsgBoxDefault(const std::string& key)
{
    return Lookup(AgentMsgBoxDefaults, key);
}
