#include "support/switches.h"

#include <cstddef>

#include "support/numbers.h"
#include "support/text.h"

std::string CommandTailOf(const std::string& commandLine, const std::string& programPath)
{
    std::string tail = commandLine;
    // The quoted form is preferred, but not over a bare path that comes
    // before it: a program started unquoted may carry its own path quoted in
    // a switch value, and that value must stay. Without a known path nothing
    // is taken out (a pair of empty quotes in the arguments must stay).
    if (!programPath.empty()) {
        const std::string quoted = "\"" + programPath + "\"";
        const int quotedAt = PosText(quoted, tail);
        const int bareAt = PosText(programPath, tail);
        if (quotedAt > 0 && !(bareAt > 0 && bareAt < quotedAt))
            tail.erase(static_cast<std::size_t>(quotedAt - 1), quoted.size());
        else if (bareAt > 0)
            tail.erase(static_cast<std::size_t>(bareAt - 1), programPath.size());
    }
    return Trim(tail);
}

std::string SwitchValueIn(const std::string& tail, const std::string& name)
{
    const int at = PosText(name, tail);
    if (at == 0)
        return std::string();
    std::string rest = tail.substr(static_cast<std::size_t>(at - 1) + name.size());
    if (rest.empty())
        return "TRUE";
    if (rest[0] == '"') {
        rest.erase(0, 1);
        rest = rest.substr(0, rest.find('"'));
    } else {
        rest = rest.substr(0, rest.find(' '));
        rest = rest.substr(0, rest.find('/'));
    }
    return Trim(rest);
}

bool SwitchPresentIn(const std::string& tail, const std::string& name)
{
    return PosText(name, tail) > 0;
}

int64_t SwitchIntIn(const std::string& tail, const std::string& name, int64_t def)
{
    return TextToInt64(SwitchValueIn(tail, name), def);
}
