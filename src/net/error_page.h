// Recognition of a web server's error page delivered in place of a file.
#pragma once

#include <string>

// The bytes of a file that the test looks at.
constexpr std::size_t ErrorPageProbeLength = 10000;

// True when content (searched ignoring case) is an error page: "<TITLE"
// with "404" after it and "</TITLE>" after that, or "<HTML>", "<HEAD>",
// "<TITLE>" and "</TITLE>" in this order (what is downloaded is never HTML).
bool IsErrorPage(const std::string& content);

// For an error page the not-found text naming url (with the server hint and
// "IIS" in the page, the MIME-type advice); otherwise def.
std::string ErrorPageTextOf(const std::string& content, const std::string& url, const std::string& def,
                            bool serverHint);
