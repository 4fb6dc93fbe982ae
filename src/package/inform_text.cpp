#include "package/inform_text.h"

#include "support/numbers.h"
#include "support/text.h"

const char ScrambleMark[] = "Scrambled=01";

namespace {

constexpr std::size_t MarkLength = sizeof ScrambleMark - 1;

std::string Apply(std::string body, int key)
{
    for (std::size_t n = 0; n < body.size(); ++n) {
        const std::size_t i = n + 1;
        const unsigned mask = (i % 2 == 1) ? static_cast<unsigned>(i + static_cast<std::size_t>(key))
                                           : static_cast<unsigned>(i - static_cast<std::size_t>(key));
        body[n] = static_cast<char>(static_cast<unsigned char>(body[n]) ^ (mask & 0xFF));
    }
    return body;
}

bool Marked(const std::string& text)
{
    return text.compare(0, MarkLength, ScrambleMark) == 0 && text.size() >= MarkLength;
}

// Cuts the text up to the next "|" off text; an empty field, and text
// unchanged, when there is none.
std::string TakeField(std::string& text)
{
    std::string::size_type bar = text.find('|');
    if (bar == std::string::npos)
        return std::string();
    std::string field = text.substr(0, bar);
    text.erase(0, bar + 1);
    return field;
}

}  // namespace

std::string ScrambleTextWithKey(const std::string& text, int key)
{
    return std::string(ScrambleMark) + static_cast<char>(key) + Apply(text, key);
}

std::string ScrambleText(const std::string& text, bool scramble)
{
    const bool marked = Marked(text);
    if (scramble == marked)
        return text;
    if (scramble)
        return ScrambleTextWithKey(text, static_cast<int>(TextToInt64(RandomNumberText(33, 122), 33)));
    if (text.size() <= MarkLength)
        return std::string();
    const int key = static_cast<unsigned char>(text[MarkLength]);
    return Apply(text.substr(MarkLength + 1), key);
}

std::string BuildInformText(const std::string& storedToken, const std::string& body)
{
    return "INFORM|" + storedToken + "|||" + body;
}

void SplitInformText(const std::string& content, std::string& storedToken, std::string& body)
{
    std::string rest = ScrambleText(content, false);
    std::string::size_type bar = rest.find('|');
    if (bar != std::string::npos)
        rest.erase(0, bar + 1);
    storedToken = TakeField(rest);
    TakeField(rest);
    TakeField(rest);
    body = rest;
}
