#include <gtest/gtest.h>

#include "net/error_page.h"

namespace {

const char NotFound[] =
    "<B>404 File Not Found...</B><P><P>URL:  http://h/x.exe.<P><P>Please make sure the file is available and "
    "access is allowed to this file.";

TEST(ErrorPage, HtmlPagesAndTitlesWith404AreErrorPages)
{
    struct Case {
        const char* content;
        bool errorPage;
    } cases[] = {
        {"<html>\n<head><title>Welcome</title></head><body>hi</body></html>", true},
        {"<HTML><HEAD><TITLE>x</TITLE>", true},
        {"<title class=a>Error 404 - missing</title>", true},
        {"<TITLE>404</TITLE>", true},
        {"[NewSetup]\r\nVersion=2.0\r\nTitle=<TITLE>\r\n", false},
        {"<title>Not here</title><html><head>", false},
        {"<html><title>x</title><head>", false},
        {"404 <TITLE>ok</TITLE>", false},
        {"<TITLE>404", false},
        {"", false},
        {"MZ\x90\0\3binary<title>", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsErrorPage(c.content), c.errorPage) << c.content;
}

TEST(ErrorPage, TextNamesTheAddressOrIsTheDefault)
{
    const std::string page = "<html><head><title>IIS 404</title></head></html>";
    EXPECT_EQ(ErrorPageTextOf(page, "http://h/x.exe", "Bad Secret Token!", false), NotFound);
    EXPECT_EQ(ErrorPageTextOf(page, "http://h/x.exe", "", true),
              std::string(NotFound) + "<P><P>If you are using an IIS webserver you must define appropriate MIME-Types.");
    EXPECT_EQ(ErrorPageTextOf("<html><head><title>nginx</title></head></html>", "http://h/x.exe", "", true),
              NotFound);
    EXPECT_EQ(ErrorPageTextOf("plain bytes", "http://h/x.exe", "Bad Secret Token!", true), "Bad Secret Token!");
}

}  // namespace
