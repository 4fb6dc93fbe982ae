#include "support/lists.h"

#include <cstddef>
#include <vector>

#include "support/numbers.h"
#include "support/text.h"

namespace {

// The closed items of a list, empty ones included, in order.
std::vector<std::string> ClosedItems(const std::string& list)
{
    std::vector<std::string> items;
    if (list.empty())
        return items;
    const char d = list[0];
    std::size_t start = 1;
    for (;;) {
        std::size_t at = list.find(d, start);
        if (at == std::string::npos)
            break;
        items.push_back(list.substr(start, at - start));
        start = at + 1;
    }
    return items;
}

bool IsWellFormed(const std::string& list)
{
    return !list.empty() && list[list.size() - 1] == list[0];
}

// Offset just past the count-th "=" of text, or npos.
std::size_t AfterNthEquals(const std::string& text, int count)
{
    std::size_t at = 0;
    for (int i = 0; i < count; ++i) {
        at = text.find('=', at);
        if (at == std::string::npos)
            return at;
        ++at;
    }
    return at;
}

}  // namespace

int ListCount(const std::string& list)
{
    if (!IsWellFormed(list))
        return 0;
    int count = 0;
    for (std::size_t i = 1; i < list.size(); ++i)
        if (list[i] == list[0])
            ++count;
    return count;
}

std::string ListItem(const std::string& list, int index, const std::string& def)
{
    if (list.empty() || index < 0)
        return def;
    const char d = list[0];
    std::size_t start = 1;
    for (int i = 0;; ++i) {
        std::size_t at = list.find(d, start);
        if (at == std::string::npos)
            return def;
        if (i == index)
            return at > start ? list.substr(start, at - start) : def;
        start = at + 1;
    }
}

int ListItemInt(const std::string& list, int index, int def)
{
    return TextToInt(ListItem(list, index, std::string()), def);
}

std::string ListSetItem(const std::string& list, int index, const std::string& value)
{
    if (index < 0 || index >= ListMaxItems)
        return list;
    const std::string source = list.empty() ? std::string("|") : list;
    int n = ListCount(source);
    if (index >= n)
        n = index + 1;
    std::vector<std::string> items = ClosedItems(source);
    items.resize(static_cast<std::size_t>(n));
    items[static_cast<std::size_t>(index)] = value;

    bool used[256] = {};
    for (const std::string& item : items)
        for (char c : item)
            used[static_cast<unsigned char>(c)] = true;
    int delimiter = -1;
    for (int i = 0; i < ListDelimiterCandidateCount && delimiter < 0; ++i)
        if (!used[static_cast<unsigned char>(ListDelimiterCandidates[i])])
            delimiter = static_cast<unsigned char>(ListDelimiterCandidates[i]);
    // Every candidate occurs: any other free byte still makes a list that
    // reads back (byte 0 last, as it ends a text in system calls).
    for (int b = 1; b < 256 && delimiter < 0; ++b)
        if (!used[b])
            delimiter = b;
    if (delimiter < 0 && !used[0])
        delimiter = 0;
    if (delimiter < 0)
        return list;

    const char d = static_cast<char>(delimiter);
    std::string out(1, d);
    for (const std::string& item : items) {
        out += item;
        out += d;
    }
    return out;
}

std::string ListValue(const std::string& list, const std::string& key, const std::string& def)
{
    if (list.size() <= 2 || !IsWellFormed(list))
        return def;
    std::string wanted = key;
    if (wanted.empty() || wanted[wanted.size() - 1] != '=')
        wanted += '=';
    int equalsInKey = 0;
    for (char c : wanted)
        if (c == '=')
            ++equalsInKey;
    for (const std::string& item : ClosedItems(list)) {
        // The key is compared with one blank after the delimiter and one
        // before each "=" left out; the value is taken from the item as
        // written, so a " =" inside it survives.
        std::string keyForm = item;
        if (!keyForm.empty() && keyForm[0] == ' ')
            keyForm.erase(0, 1);
        keyForm = ReplaceAll(keyForm, " =", "=");
        if (!StartsWith(wanted, keyForm, true))
            continue;
        std::size_t valueStart = AfterNthEquals(item, equalsInKey);
        if (valueStart == std::string::npos)
            continue;
        return item.substr(valueStart);
    }
    return def;
}
