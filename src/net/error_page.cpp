#include "net/error_page.h"

#include "support/text.h"

bool IsErrorPage(const std::string& content)
{
    const int title = PosText("<TITLE", content);
    if (title > 0) {
        const int number = PosTextFrom("404", content, title);
        if (number > 0 && PosTextFrom("</TITLE>", content, number) > 0)
            return true;
    }
    const int html = PosText("<HTML>", content);
    const int head = PosText("<HEAD>", content);
    const int open = PosText("<TITLE>", content);
    const int close = PosText("</TITLE>", content);
    return html > 0 && head > html && open > head && close > open;
}

std::string ErrorPageTextOf(const std::string& content, const std::string& url, const std::string& def,
                            bool serverHint)
{
    if (!IsErrorPage(content))
        return def;
    std::string text = "<B>404 File Not Found...</B><P><P>URL:  " + url + "." +
                       "<P><P>Please make sure the file is available and access is allowed to this file.";
    if (serverHint && Pos("IIS", content) > 0)
        text += "<P><P>If you are using an IIS webserver you must define appropriate MIME-Types.";
    return text;
}
