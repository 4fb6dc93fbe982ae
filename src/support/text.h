// Small text operations shared by the whole system. Texts are byte strings
// in the ANSI code page; positions are 1-based and 0 means not found.
// Ignoring case folds only the ASCII letters. Nothing here throws.
#pragma once

#include <string>

// Bytes of value 32 or below are blanks.
std::string Trim(const std::string& text);
std::string UpperCase(const std::string& text);
std::string LowerCase(const std::string& text);
bool SameText(const std::string& a, const std::string& b);
bool SameTextTrimmed(const std::string& a, const std::string& b);

// Text before the first separator, or def when it does not occur.
std::string TextBefore(const std::string& text, const std::string& separator, const std::string& def);
// Text after the first separator, or the whole text when it does not occur.
std::string TextAfter(const std::string& text, const std::string& separator);

std::string ReplaceChar(const std::string& text, char oldChar, char newChar);
// Replace every occurrence of find. Inserted replacement text is never
// searched again; with an empty replacement, a match that forms across the
// closed gap is removed too.
std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& replacement);
// As ReplaceAll, find matched ignoring case.
std::string ReplaceAllText(const std::string& text, const std::string& find, const std::string& replacement);

// Drops enclosing quote characters: all of them at each end, or one when
// once is set; only when the text is enclosed in them unless force is set.
// A text that is just the quote character becomes empty.
std::string StripEnclosing(const std::string& text, char quote, bool force, bool once);
// Trims blanks, then strips enclosing double quotes.
std::string TrimQuotes(const std::string& text, bool force);

// Searches; an empty pattern is never found.
int Pos(const std::string& pattern, const std::string& text);
int PosText(const std::string& pattern, const std::string& text);
// Search from position start (a start below 1 searches from the beginning).
int PosFrom(const std::string& pattern, const std::string& text, int start);
int PosTextFrom(const std::string& pattern, const std::string& text, int start);
// Position of the last occurrence, case-sensitive.
int LastPos(const std::string& pattern, const std::string& text);
// Position of the reversed pattern in the reversed text, ignoring case: 1
// when text ends with pattern.
int ReversePosText(const std::string& pattern, const std::string& text);

// StartsWith is false for an empty prefix; EndsWith is true for an empty
// suffix.
bool StartsWith(const std::string& prefix, const std::string& text, bool ignoreCase);
bool EndsWith(const std::string& suffix, const std::string& text, bool ignoreCase);

std::string ReverseText(const std::string& text);
// Prefixes copies of fill up to width characters; longer texts are kept.
std::string PadLeft(const std::string& text, int width, char fill);
