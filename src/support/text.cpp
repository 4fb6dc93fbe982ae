#include "support/text.h"

#include <cstddef>

namespace {

const std::size_t npos = std::string::npos;

char FoldUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char FoldLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// True when pattern occurs in text at offset at (which must leave room).
bool MatchesAt(const std::string& text, std::size_t at, const std::string& pattern, bool ignoreCase)
{
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char a = text[at + i];
        char b = pattern[i];
        if (ignoreCase ? FoldUpper(a) != FoldUpper(b) : a != b)
            return false;
    }
    return true;
}

std::size_t FindFrom(const std::string& pattern, const std::string& text, std::size_t from, bool ignoreCase)
{
    if (pattern.empty() || text.size() < pattern.size())
        return npos;
    for (std::size_t at = from; at + pattern.size() <= text.size(); ++at)
        if (MatchesAt(text, at, pattern, ignoreCase))
            return at;
    return npos;
}

int ToPosition(std::size_t offset)
{
    return offset == npos ? 0 : static_cast<int>(offset + 1);
}

int PosFromImpl(const std::string& pattern, const std::string& text, int start, bool ignoreCase)
{
    if (start < 1)
        start = 1;
    if (static_cast<std::size_t>(start) > text.size())
        return 0;
    return ToPosition(FindFrom(pattern, text, static_cast<std::size_t>(start - 1), ignoreCase));
}

std::string ReplaceImpl(const std::string& text, const std::string& find, const std::string& replacement,
                        bool ignoreCase)
{
    if (FindFrom(find, text, 0, ignoreCase) == npos)
        return text;
    std::string out;
    if (!replacement.empty()) {
        // Scanning on after each inserted replacement: it is never searched.
        std::size_t from = 0;
        for (;;) {
            std::size_t at = FindFrom(find, text, from, ignoreCase);
            if (at == npos) {
                out.append(text, from, npos);
                return out;
            }
            out.append(text, from, at - from);
            out += replacement;
            from = at + find.size();
        }
    }
    // Empty replacement: the text closes up and a match formed across the
    // gap goes too. Removing each match as soon as its last byte arrives
    // removes them in the same order as searching again from the start.
    for (char c : text) {
        out.push_back(c);
        if (out.size() >= find.size() && MatchesAt(out, out.size() - find.size(), find, ignoreCase))
            out.resize(out.size() - find.size());
    }
    return out;
}

}  // namespace

std::string Trim(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string UpperCase(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = FoldUpper(c);
    return out;
}

std::string LowerCase(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = FoldLower(c);
    return out;
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && MatchesAt(a, 0, b, true);
}

bool SameTextTrimmed(const std::string& a, const std::string& b)
{
    return SameText(Trim(a), Trim(b));
}

std::string TextBefore(const std::string& text, const std::string& separator, const std::string& def)
{
    std::size_t at = FindFrom(separator, text, 0, false);
    return at == npos ? def : text.substr(0, at);
}

std::string TextAfter(const std::string& text, const std::string& separator)
{
    std::size_t at = FindFrom(separator, text, 0, false);
    return at == npos ? text : text.substr(at + separator.size());
}

std::string ReplaceChar(const std::string& text, char oldChar, char newChar)
{
    std::string out = text;
    for (char& c : out)
        if (c == oldChar)
            c = newChar;
    return out;
}

std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& replacement)
{
    return ReplaceImpl(text, find, replacement, false);
}

std::string ReplaceAllText(const std::string& text, const std::string& find, const std::string& replacement)
{
    return ReplaceImpl(text, find, replacement, true);
}

std::string StripEnclosing(const std::string& text, char quote, bool force, bool once)
{
    const std::size_t n = text.size();
    if (n == 1 && text[0] == quote)
        return std::string();
    if (n < 2 || !(force || (text[0] == quote && text[n - 1] == quote)))
        return text;
    std::size_t begin = 0;
    while (begin < n && text[begin] == quote) {
        ++begin;
        if (once)
            break;
    }
    std::size_t end = n;
    while (end > begin && text[end - 1] == quote) {
        --end;
        if (once)
            break;
    }
    return text.substr(begin, end - begin);
}

std::string TrimQuotes(const std::string& text, bool force)
{
    return StripEnclosing(Trim(text), '"', force, false);
}

int Pos(const std::string& pattern, const std::string& text)
{
    return ToPosition(FindFrom(pattern, text, 0, false));
}

int PosText(const std::string& pattern, const std::string& text)
{
    return ToPosition(FindFrom(pattern, text, 0, true));
}

int PosFrom(const std::string& pattern, const std::string& text, int start)
{
    return PosFromImpl(pattern, text, start, false);
}

int PosTextFrom(const std::string& pattern, const std::string& text, int start)
{
    return PosFromImpl(pattern, text, start, true);
}

int LastPos(const std::string& pattern, const std::string& text)
{
    if (pattern.empty())
        return 0;
    return ToPosition(text.rfind(pattern));
}

int ReversePosText(const std::string& pattern, const std::string& text)
{
    return PosText(ReverseText(pattern), ReverseText(text));
}

bool StartsWith(const std::string& prefix, const std::string& text, bool ignoreCase)
{
    return !prefix.empty() && text.size() >= prefix.size() && MatchesAt(text, 0, prefix, ignoreCase);
}

bool EndsWith(const std::string& suffix, const std::string& text, bool ignoreCase)
{
    return text.size() >= suffix.size() && MatchesAt(text, text.size() - suffix.size(), suffix, ignoreCase);
}

std::string ReverseText(const std::string& text)
{
    return std::string(text.rbegin(), text.rend());
}

std::string PadLeft(const std::string& text, int width, char fill)
{
    if (width <= 0 || static_cast<std::size_t>(width) <= text.size())
        return text;
    return std::string(static_cast<std::size_t>(width) - text.size(), fill) + text;
}
