// Trailing backslashes of folder paths. A "\" that is the second byte of a
// double-byte character is part of that character, not a separator.
#pragma once

#include <string>

// Removes one trailing "\" from a path longer than 2 characters, then
// appends one when withBackslash is set. Paths of 1 or 2 characters are
// never shortened; the empty path with a backslash becomes "\".
std::string SetTrailingBackslash(const std::string& path, bool withBackslash);

// "\" becomes empty; a longer path loses one trailing "\".
std::string DropTrailingBackslash(const std::string& path);
