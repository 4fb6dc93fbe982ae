// UTF-8 texts of the manifest to the ANSI code page of a language.
#pragma once

#include <string>

// The Windows code page for a font character set (Charset) number; 0 for
// a character set without one.
int CodePageForCharset(int charset);

// Converts UTF-8 text to the code page; false when the text is not valid
// UTF-8 or holds a character that the code page cannot hold.
bool Utf8ToCodePage(const std::string& utf8, int codePage, std::string& out);
