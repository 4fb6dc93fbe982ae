// List texts: the first character is the delimiter and every item is closed
// by it, as in "|a|b|". Items are numbered from 0; an empty item reads as
// absent. Readers take the delimiter from the first character, so a list may
// use any delimiter byte.
#pragma once

#include <string>

// The delimiters that ListSetItem tries, in order, for a rebuilt list.
constexpr char ListDelimiterCandidates[] = "|^!~@#$&*\xFF";
constexpr int ListDelimiterCandidateCount = 10;

// ListSetItem leaves a list alone rather than grow it past this many items.
constexpr int ListMaxItems = 1000000;

// Number of items; 0 for an empty list or one whose last character is not
// its delimiter.
int ListCount(const std::string& list);

// Item index, or def when the item is empty, not closed, or the index is out
// of range.
std::string ListItem(const std::string& list, int index, const std::string& def);

// ListItem read as a 32-bit integer text; def when absent or not an integer.
int ListItemInt(const std::string& list, int index, int def);

// A rebuilt list in which item index holds value. Items past the old end are
// added empty; text after the last delimiter is dropped. The delimiter is the
// first candidate that occurs in no item (when every candidate occurs, some
// other byte that does not). A negative index, an index of ListMaxItems or
// more, or items that hold every byte value leave the list unchanged.
std::string ListSetItem(const std::string& list, int index, const std::string& value);

// Value of the first key=value item whose key matches, ignoring case. One
// blank after the delimiter and one before "=" do not belong to the key; the
// value is returned as written. def for a short or unclosed list, or when no
// key matches.
std::string ListValue(const std::string& list, const std::string& key, const std::string& def);
