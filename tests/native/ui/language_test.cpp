// Language choice and lookups over a package's language block.
#include <gtest/gtest.h>

#include <string>

#include "ui/language.h"
#include "ui/msgbox_rules.h"

namespace {

// A language block as the setup builder writes it: byte 2 between
// languages, byte 1 between the items of a language.
std::string Language(const std::string& name, const std::string& items = "")
{
    std::string s = "\1" + name + "\1";
    std::string::size_type start = 0;
    while (start < items.size()) {
        std::string::size_type bar = items.find('|', start);
        if (bar == std::string::npos)
            bar = items.size();
        s += items.substr(start, bar - start) + "\1";
        start = bar + 1;
    }
    return s;
}

std::string Block(std::initializer_list<std::string> languages)
{
    std::string b = "\2";
    for (const std::string& l : languages)
        b += l + "\2";
    return b;
}

std::string NameOf(const std::string& language)
{
    return language == "*" ? "*" : language.substr(1, language.find('\1', 1) - 1);
}

TEST(LanguageIds, TableShape)
{
    const std::string table = LanguageIdTable;
    int rows = 0;
    for (char c : table)
        rows += c == '|';
    EXPECT_EQ(rows - 1, 51);
    EXPECT_NE(table.find("|ENGLISH              = 09|"), std::string::npos);
    EXPECT_NE(table.find("|SERBIAN(CYRILIC)     = 3098|"), std::string::npos);
}

TEST(LanguageIds, NameOfPrimaryLanguage)
{
    struct Case {
        int id;
        const char* name;
    } cases[] = {
        {9, "ENGLISH"}, {21, "POLISH"}, {54, "AFRIKAANS"}, {1, "ARABIC"}, {13, "HEBREW"},
        {26, "CROATIAN"},  // SERBIAN carries 26 too; CROATIAN stands first
        {10, "SPANISH"}, {42, "VIETNAMESE"}, {56, "FAEROESE"},
        // No row of their own: a row whose number contains the digits.
        {43, "DUTCH(STANDARD)"}, {46, "PORTUGUESE(BRAZIL)"}, {52, "CHINESE(SIMPLIFIED)"},
        {67, "DUTCH(FLEMISH)"}, {70, "PORTUGUESE(PORTUGAL)"}, {74, "SERBIAN(LATIN)"},
        {98, "SERBIAN(CYRILIC)"}, {102, "CHINESE(TRADITIONAL)"},
        {0, ""}, {23, ""}, {99, ""}, {1023, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageNameOf(c.id), c.name) << c.id;
}

TEST(LanguageIds, PrimaryLanguageOfLocale)
{
    EXPECT_EQ(PrimaryLanguageOfLocale(0x0415), 21);
    EXPECT_EQ(PrimaryLanguageOfLocale(0x0409), 9);
    EXPECT_EQ(PrimaryLanguageOfLocale(0x0813), 19);  // Dutch (Belgium)
    EXPECT_EQ(PrimaryLanguageOfLocale(0x00000), 9);
    EXPECT_EQ(PrimaryLanguageOfLocale(0x10000), 9);  // sort id only
    EXPECT_EQ(PrimaryLanguageOfLocale(0x0800), 0);   // neutral with a sub-language
}

TEST(LanguageChoice, Rules)
{
    const std::string polish = Language("Polish", "Error=B\xB3\xB9" "d");
    const std::string english = Language("English", "s1=Unpacking");
    const std::string deutsch = Language("Deutsch");
    const std::string francais = Language("Francais");
    struct Case {
        std::string block;
        const char* system;
        const char* chosen;
    } cases[] = {
        {Block({polish}), "ENGLISH", "Polish"},             // the only language
        {Block({english, deutsch}), "POLISH", "English"},   // English fall-back
        {Block({deutsch, english}), "GERMAN", "English"},   // names, not ids
        {Block({francais, deutsch}), "POLISH", "*"},
        {Block({english, Language(" polish ")}), "POLISH", " polish "},
        {Block({english, polish}), "", "English"},
        {"", "ENGLISH", "*"},
        {"\2", "ENGLISH", "*"},
        {Block({Language(" ENGLISH\t")}), "ENGLISH", " ENGLISH\t"},
        // Another delimiter pair reads the same way.
        {"#|English|s1=x|#|Polish|#", "POLISH", "Polish"},
    };
    for (const Case& c : cases) {
        std::string chosen = ChooseLanguage(c.block, c.system);
        std::string name = chosen == "*" ? "*" : chosen.substr(1, chosen.find(chosen[0], 1) - 1);
        EXPECT_EQ(name, c.chosen) << c.system;
    }
}

TEST(LanguageChoice, LookupsByKey)
{
    const std::string lang = Language("Polish", "s10=Pobieranie|Error=|FontSize=10|s1 =Rozpakowywanie");
    EXPECT_EQ(LangStringIn(lang, "s1", "Extracting Files..."), "Rozpakowywanie");
    EXPECT_EQ(LangStringIn(lang, "S10", "x"), "Pobieranie");
    EXPECT_EQ(LangStringIn(lang, "Error", "Error"), "");  // present but empty
    EXPECT_EQ(LangStringIn(lang, "Confirm", "Confirm"), "Confirm");
    // s1 never reads an s10 item.
    const std::string onlyS10 = Language("Polish", "s10=Pobieranie");
    EXPECT_EQ(LangStringIn(onlyS10, "s1", "Extracting Files..."), "Extracting Files...");
    EXPECT_EQ(LangStringIn("*", "s1", "d"), "d");
    EXPECT_EQ(LangStringIn("", "s1", "d"), "d");
    EXPECT_EQ(LangStringIn("\1", "s1", "d"), "d");
}

class ProcessLanguage : public ::testing::Test {
protected:
    void SetUp() override { ResetLanguageChoice(); }
    void TearDown() override
    {
        ResetLanguageChoice();
        SetSystemLanguage(9);
    }
};

TEST_F(ProcessLanguage, ChosenOnceAndKept)
{
    SetSystemLanguage(21);
    EXPECT_EQ(SystemLanguageName(), "POLISH");
    const std::string block = Block({Language("English", "s1=Unpacking"),
                                     Language("polish ", "s1=Rozpakowywanie|Charset=238|FontSize=x|FontName=Arial")});
    EXPECT_EQ(PackageLangString(block, "s1", "d"), "Rozpakowywanie");
    EXPECT_EQ(PackageLangCharset(block), 238);
    EXPECT_EQ(PackageLangFontSize(block), 8);  // not an integer
    EXPECT_EQ(PackageLangFontName(block), "Arial");
    EXPECT_EQ(PackageLangText(block, "s0"), "Varnel Installation Suite");

    // Another view later asks through the same choice, even one whose own
    // languages would choose differently.
    const std::string other = Block({Language("English", "s1=Unpacking")});
    EXPECT_EQ(NameOf(SelectedLanguage(other)), "polish ");
    EXPECT_EQ(PackageLangString(other, "s1", "d"), "Rozpakowywanie");
}

TEST_F(ProcessLanguage, NoLanguageStaysNone)
{
    SetSystemLanguage(21);
    const std::string none = Block({Language("Francais"), Language("Deutsch")});
    EXPECT_EQ(PackageLangString(none, "s1", "Extracting Files..."), "Extracting Files...");
    EXPECT_EQ(PackageLangCharset(none), 0);
    EXPECT_EQ(PackageLangFontSize(none), 8);
    EXPECT_EQ(PackageLangFontName(none), "Tahoma");
    // "*" is kept: a later block with a match does not change it.
    EXPECT_EQ(PackageLangString(Block({Language("Polish", "s1=x")}), "s1", "d"), "d");
}

TEST(LanguageDefaults, KeyTable)
{
    EXPECT_EQ(LangDefault("s8"), "Please insert <B>DISK #<DISK_NUM></B> and press OK to continue");
    EXPECT_EQ(LangDefault("BtnText"), DefaultButtonLabels);
    EXPECT_EQ(LangDefault("charset"), "0");
    EXPECT_EQ(LangDefault("s9"), "");
    EXPECT_EQ(AgentDefault("s34"), "New Version");
    EXPECT_EQ(AgentDefault("s11"), "");
    EXPECT_EQ(AgentMsgBoxDefault("CharSet"), "0");
    // The s11 default is one text with its markup.
    BoxBody body = PrepareBody(LangDefault("s11"));
    EXPECT_EQ(body.text.substr(0, 21), "INTERNET DOWNLOAD\r\n\r\n");
    ASSERT_EQ(body.bold.size(), 1u);
    EXPECT_EQ(body.bold[0].end, 17);
}

}  // namespace
