#include "support/file_rules.h"

#include "support/host_facts.h"
#include "support/text.h"

namespace {

// Offset just after the last path separator, or 0.
std::string::size_type NameStart(const std::string& path)
{
    std::string::size_type start = 0;
    std::string::size_type i = 0;
    while (i < path.size()) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(c) && i + 1 < path.size()) {
            i += 2;
            continue;
        }
        ++i;
        if (c == '\\' || c == ':')
            start = i;
    }
    return start;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

}  // namespace

std::string FileNamePart(const std::string& path)
{
    return path.substr(NameStart(path));
}

std::string BaseNameNoExt(const std::string& path, bool allExtensions)
{
    std::string name = FileNamePart(path);
    std::string::size_type dot = allExtensions ? name.find('.') : name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string ChangeFileExtension(const std::string& path, const std::string& ext)
{
    std::string::size_type start = NameStart(path);
    std::string::size_type dot = path.rfind('.');
    if (dot == std::string::npos || dot < start)
        return path + ext;
    return path.substr(0, dot) + ext;
}

std::string FreeSpaceRoot(const std::string& path, bool driveOnly)
{
    std::string p = ReplaceChar(path, '/', '\\');
    if (p.empty())
        return p;
    if (driveOnly || p.size() < 3)
        return UpperCase(p.substr(0, 1)) + ":\\";
    std::string::size_type cut = p.find('\\', 3);
    return cut == std::string::npos ? p : p.substr(0, cut);
}

uint64_t WriteChunkSize(uint64_t length)
{
    if (length <= WriteChunkLimit)
        return length;
    uint64_t tenth = length / 10;
    return tenth < WriteChunkLimit ? tenth : WriteChunkLimit;
}

std::string SelfRemovalScript(const std::string& exe, const std::string& folder, const std::string& script,
                              bool removeFolder)
{
    std::string text = ":START\r\n";
    text += "DEL " + Quoted(exe) + "\r\n";
    text += "IF exist " + Quoted(exe) + " GOTO START\r\n";
    if (removeFolder)
        text += "RD " + Quoted(folder) + "\r\n";
    text += "DEL " + Quoted(script) + "\r\n";
    return text;
}
