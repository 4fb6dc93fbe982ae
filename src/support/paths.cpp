#include "support/paths.h"

#include <cstddef>

#include "support/host_facts.h"

namespace {

// True when the path's last byte is a "\" of its own. Walking the
// characters from the start tells a lead byte from a trail byte that
// happens to have a lead byte's value.
bool EndsWithSeparator(const std::string& path)
{
    if (path.empty() || path[path.size() - 1] != '\\')
        return false;
    const std::size_t last = path.size() - 1;
    std::size_t i = 0;
    while (i < last)
        i += IsLeadByte(static_cast<unsigned char>(path[i])) ? 2 : 1;
    return i == last;
}

}  // namespace

std::string SetTrailingBackslash(const std::string& path, bool withBackslash)
{
    std::string out = path;
    if (out.size() > 2 && EndsWithSeparator(out))
        out.erase(out.size() - 1);
    if (withBackslash)
        out += '\\';
    return out;
}

std::string DropTrailingBackslash(const std::string& path)
{
    if (path == "\\")
        return std::string();
    if (path.size() > 1 && EndsWithSeparator(path))
        return path.substr(0, path.size() - 1);
    return path;
}
