// The language strings read from a real package file through its view.
#include <gtest/gtest.h>

#include "pack_writer.h"
#include "package/file_info.h"
#include "package_fixture.h"
#include "ui/language.h"
#include "ui/package_language.h"

using namespace fixture;

namespace {

std::string WriteSetup(const Scratch& s, const std::string& name, const std::string& languageBlock)
{
    WriteFile(s.Path("stub.exe"), FakeStub(4096, true));
    PackSpec spec;
    spec.stubPath = s.Path("stub.exe");
    spec.output = s.Path(name);
    spec.languageBlock = languageBlock;
    spec.settingsBlock = "|http://u|app.info|agent.exe||0|";
    PackOutcome outcome;
    WritePackage(spec, outcome);
    return spec.output;
}

TEST(PackageLanguage, LookupsThroughTheView)
{
    ResetLanguageChoice();
    SetSystemLanguage(9);
    Scratch s;
    const std::string path = WriteSetup(
        s, "setup.exe", "\x02\x01Polish\x01" "Charset=238\x01" "FontSize=10\x01" "Error=\x01s1=Rozpakowywanie\x01\x02");
    TGFileInfo view(path);
    // One language: taken on an English system.
    EXPECT_EQ(LangString(view, "s1", "Extracting Files..."), "Rozpakowywanie");
    EXPECT_EQ(LangString(view, "Error", "Error"), "");
    EXPECT_EQ(LangString(view, "s10", "Downloading File..."), "Downloading File...");
    EXPECT_EQ(LangCharset(view), 238);
    EXPECT_EQ(LangFontSize(view), 10);
    EXPECT_EQ(LangFontName(view), "Tahoma");

    // A second view of the process reads through the same choice.
    TGFileInfo other(WriteSetup(s, "other.exe", "\x02\x01" "English\x01s1=Unpacking\x01\x02"));
    EXPECT_EQ(LangString(other, "s1", "d"), "Rozpakowywanie");
    ResetLanguageChoice();
}

TEST(PackageLanguage, MissingFileGivesDefaults)
{
    ResetLanguageChoice();
    TGFileInfo view("/nonexistent/setup.exe");
    EXPECT_EQ(LangString(view, "s0", "Varnel Installation Suite"), "Varnel Installation Suite");
    EXPECT_EQ(LangCharset(view), 0);
    EXPECT_EQ(LangFontSize(view), 8);
    EXPECT_EQ(LangFontName(view), "Tahoma");
    ResetLanguageChoice();
}

}  // namespace
