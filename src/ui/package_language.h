// The language strings of a package: lookups of a package view's language
// block through the language chosen for the process.
#pragma once

#include <string>

class TGFileInfo;

// The value of key in the process's language of the package, or def.
std::string LangString(const TGFileInfo& package, const std::string& key, const std::string& def);
// "Charset" as an integer, 0 when absent or not an integer.
int LangCharset(const TGFileInfo& package);
// "FontSize" as an integer, 8 when absent or not an integer.
int LangFontSize(const TGFileInfo& package);
// "FontName", "Tahoma" when absent.
std::string LangFontName(const TGFileInfo& package);
