#include "manifest.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <vector>

#include "codepage.h"
#include "package/entry_name.h"
#include "package/token.h"
#include "package/trailer.h"
#include "support/datetime.h"
#include "support/numbers.h"
#include "support/text.h"

namespace fs = std::filesystem;

namespace {

struct Line {
    int number;
    std::string key;
    std::string value;
    bool bare;  // a line without "="
};

struct Section {
    std::string name;  // as written, e.g. "language Polish"
    int line;
    std::vector<Line> lines;
};

std::string Unquote(const std::string& text)
{
    std::string t = Trim(text);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
        return t.substr(1, t.size() - 2);
    return t;
}

class Parser {
public:
    explicit Parser(const std::string& path) : path_(path) {}
    std::vector<Section> Read();
    [[noreturn]] void Fail(int line, const std::string& message) const
    {
        throw PackError(path_ + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message);
    }

private:
    std::string path_;
};

std::vector<Section> Parser::Read()
{
    std::ifstream in(path_, std::ios::binary);
    if (!in)
        throw PackError("cannot read manifest " + path_);
    std::vector<Section> sections;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (number == 1 && text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            text.erase(0, 3);
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        std::string t = Trim(text);
        if (t.empty() || t[0] == ';' || t[0] == '#')
            continue;
        if (t[0] == '[') {
            if (t.back() != ']')
                Fail(number, "a section line must end with ]");
            sections.push_back(Section{Trim(t.substr(1, t.size() - 2)), number, {}});
            continue;
        }
        if (sections.empty())
            Fail(number, "a key before the first [section]");
        std::string::size_type eq = t.find('=');
        if (eq == std::string::npos)
            sections.back().lines.push_back(Line{number, std::string(), Unquote(t), true});
        else
            sections.back().lines.push_back(Line{number, Trim(t.substr(0, eq)), Unquote(t.substr(eq + 1)), false});
    }
    return sections;
}

bool ParseBool(const Parser& p, const Line& l)
{
    std::string v = LowerCase(l.value);
    if (v == "1" || v == "yes" || v == "true" || v == "on")
        return true;
    if (v == "0" || v == "no" || v == "false" || v == "off" || v.empty())
        return false;
    p.Fail(l.number, l.key + ": expected 0 or 1, not \"" + l.value + "\"");
}

int64_t ParseSize(const Parser& p, const Line& l)
{
    std::string v = Trim(l.value);
    int64_t scale = 1;
    if (!v.empty()) {
        char s = static_cast<char>(std::toupper(static_cast<unsigned char>(v.back())));
        if (s == 'K' || s == 'M' || s == 'G') {
            scale = s == 'K' ? 1024 : s == 'M' ? 1024 * 1024 : 1024ll * 1024 * 1024;
            v.pop_back();
        }
    }
    int64_t n = 0;
    if (!TryTextToInt64(Trim(v), n) || n < 0 || n > INT64_MAX / scale)
        p.Fail(l.number, l.key + ": expected a size in bytes, not \"" + l.value + "\"");
    return n * scale;
}

uint32_t FileStamp(const std::string& path, bool reproducible, long long epoch)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    std::time_t t = st.st_mtime;
    struct tm parts;
    struct tm* got;
    if (reproducible) {
        if (static_cast<long long>(t) > epoch)
            t = static_cast<std::time_t>(epoch);
#ifdef _WIN32
        got = gmtime_s(&parts, &t) == 0 ? &parts : nullptr;
#else
        got = gmtime_r(&t, &parts);
#endif
    } else {
#ifdef _WIN32
        got = localtime_s(&parts, &t) == 0 ? &parts : nullptr;
#else
        got = localtime_r(&t, &parts);
#endif
    }
    if (!got)
        return 0;
    CivilTime c{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, 0};
    return CivilToDosDateTime(c);
}

uint64_t TextHash(const std::string& text, uint64_t h)
{
    for (unsigned char c : text)
        h = (h ^ c) * 0x100000001B3ull;
    return h;
}

std::string Resolve(const fs::path& base, const std::string& path)
{
    fs::path p = fs::u8path(path);
    return (p.is_absolute() ? p : base / p).lexically_normal().string();
}

}  // namespace

bool ReproducibleEpoch(long long& epoch)
{
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    int64_t value = 0;
    if (!text || !TryTextToInt64(text, value) || value < 0)
        return false;
    epoch = value;
    return true;
}

PackSpec ReadManifest(const std::string& path, const ManifestOptions& options)
{
    Parser parser(path);
    const std::vector<Section> sections = parser.Read();
    const fs::path base = fs::absolute(fs::u8path(path)).parent_path();
    long long epoch = 0;
    const bool reproducible = ReproducibleEpoch(epoch);
    std::random_device device;
    auto seedFor = [&](const std::string& what, const std::string& token) -> uint64_t {
        if (reproducible)
            return TextHash(token, TextHash(what, 0xCBF29CE484222325ull ^ static_cast<uint64_t>(epoch)));
        return (static_cast<uint64_t>(device()) << 32) ^ device();
    };

    PackSpec spec;
    std::string output, stub;
    int outputLine = 0;
    std::map<std::string, std::string> settings, download;
    bool haveDownload = false;
    std::string downloadSizeOf;
    int downloadSizeLine = 0;
    struct Language {
        std::string name;
        int line;
        std::vector<Line> items;
    };
    std::vector<Language> languages;
    std::vector<Line> files;
    std::string engineFile, engineName, engineArguments;
    int engineLine = 0;
    bool haveLayout = false;
    std::set<std::string> seenSections;

    for (const Section& s : sections) {
        const std::string kind = LowerCase(TextBefore(s.name, " ", s.name));
        const std::string lname = LowerCase(s.name);
        if (kind != "language" && !seenSections.insert(lname).second)
            parser.Fail(s.line, "section [" + s.name + "] given twice");
        std::set<std::string> keys;
        for (const Line& l : s.lines) {
            if (l.bare && lname != "files")
                parser.Fail(l.number, "expected KEY = VALUE");
            if (!l.bare && lname != "files" && !keys.insert(LowerCase(l.key)).second)
                parser.Fail(l.number, "key " + l.key + " given twice in [" + s.name + "]");
        }
        if (lname == "package") {
            for (const Line& l : s.lines) {
                const std::string k = LowerCase(l.key);
                if (k == "stub")
                    stub = Resolve(base, l.value);
                else if (k == "output") {
                    output = Resolve(base, l.value);
                    outputLine = l.number;
                } else if (k == "compression") {
                    int level = TextToInt(l.value, -1);
                    if (level < 0 || level > 9)
                        parser.Fail(l.number, "Compression: expected a level from 0 to 9");
                    spec.level = level;
                } else if (k == "layout") {
                    const std::string v = LowerCase(l.value);
                    if (v == "single")
                        spec.layout = PackLayout::Single;
                    else if (v == "span")
                        spec.layout = PackLayout::Span;
                    else if (v == "cd")
                        spec.layout = PackLayout::Cd;
                    else
                        parser.Fail(l.number, "Layout: expected single, span or cd");
                    haveLayout = true;
                } else if (k == "maxdisksize") {
                    spec.maxDiskSize = ParseSize(parser, l);
                } else if (k == "showtempnotice") {
                    spec.flags |= ParseBool(parser, l) ? FlagShowTempNotice : 0;
                } else if (k == "showactivitybar") {
                    spec.flags |= ParseBool(parser, l) ? FlagShowActivityBar : 0;
                } else if (k == "tracelog") {
                    spec.flags |= ParseBool(parser, l) ? FlagTraceLog : 0;
                } else if (k == "downloadfirst") {
                    spec.downloadFirst = ParseBool(parser, l);
                } else if (k == "askbeforedownload") {
                    spec.askBeforeDownload = ParseBool(parser, l);
                } else if (k == "makeagentcopy") {
                    spec.makeAgentCopy = ParseBool(parser, l);
                } else if (k == "isagent") {
                    spec.isAgent = ParseBool(parser, l);
                } else if (k == "checksum") {
                    const std::string v = LowerCase(l.value);
                    if (v == "skip")
                        spec.skipChecksum = true;
                    else if (v != "yes" && v != "1" && v != "on")
                        parser.Fail(l.number, "Checksum: expected yes or skip");
                } else {
                    parser.Fail(l.number, "unknown key " + l.key + " in [package]");
                }
            }
        } else if (lname == "settings" || lname == "download") {
            static const char* const settingKeys[] = {"infourl", "infofilename", "agentexename", "token",
                                                      "silentinstall"};
            static const char* const downloadKeys[] = {"url", "filename", "remoteonly", "token", "size", "sizeof"};
            const bool isSettings = lname == "settings";
            if (!isSettings)
                haveDownload = true;
            for (const Line& l : s.lines) {
                const std::string k = LowerCase(l.key);
                bool known = false;
                for (const char* name : isSettings ? std::vector<const char*>(std::begin(settingKeys), std::end(settingKeys))
                                                   : std::vector<const char*>(std::begin(downloadKeys), std::end(downloadKeys)))
                    known = known || k == name;
                if (!known)
                    parser.Fail(l.number, "unknown key " + l.key + " in [" + s.name + "]");
                if (k == "silentinstall" || k == "remoteonly") {
                    (isSettings ? settings : download)[k] = ParseBool(parser, l) ? "1" : "0";
                    continue;
                }
                if (k == "sizeof") {
                    downloadSizeOf = Resolve(base, l.value);
                    downloadSizeLine = l.number;
                    continue;
                }
                if (l.value.find('|') != std::string::npos)
                    parser.Fail(l.number, l.key + ": the character | cannot be stored");
                (isSettings ? settings : download)[k] = l.value;
                if (k == "size" && !l.value.empty()) {
                    int64_t n = 0;
                    if (!TryTextToInt64(l.value, n) || n < 0)
                        parser.Fail(l.number, "Size: expected a number of bytes");
                }
            }
        } else if (kind == "language") {
            std::string name = Trim(TextAfter(s.name, " "));
            if (name.empty() || name == s.name)
                parser.Fail(s.line, "a language section needs a name, as in [language English]");
            for (const Language& other : languages)
                if (SameText(other.name, name))
                    parser.Fail(s.line, "language " + name + " given twice");
            languages.push_back(Language{name, s.line, s.lines});
        } else if (lname == "files") {
            files.insert(files.end(), s.lines.begin(), s.lines.end());
        } else if (lname == "engine") {
            engineLine = s.line;
            for (const Line& l : s.lines) {
                const std::string k = LowerCase(l.key);
                if (k == "file")
                    engineFile = Resolve(base, l.value);
                else if (k == "name")
                    engineName = l.value;
                else if (k == "arguments")
                    engineArguments = l.value;
                else
                    parser.Fail(l.number, "unknown key " + l.key + " in [engine]");
            }
            if (engineFile.empty())
                parser.Fail(s.line, "[engine] needs File = PATH");
        } else {
            parser.Fail(s.line, "unknown section [" + s.name + "]");
        }
    }

    if (!haveLayout && spec.maxDiskSize > 0)
        spec.layout = PackLayout::Span;
    if (spec.layout == PackLayout::Span && spec.maxDiskSize <= 0)
        parser.Fail(0, "Layout = span needs MaxDiskSize");
    if (spec.layout == PackLayout::Cd)
        spec.flags &= static_cast<uint8_t>(~FlagCdRelaunch);

    spec.output = !options.output.empty() ? options.output : output;
    if (spec.output.empty())
        parser.Fail(outputLine, "no output: give Output = PATH in [package] or -o PATH");
    spec.stubPath = !stub.empty() ? stub : options.defaultStub;
    if (spec.stubPath.empty())
        parser.Fail(0, "no stub: give Stub = PATH in [package] (no stub.exe beside varnel-pack)");

    // Language block: byte 2 around the sections, byte 1 around the items.
    int firstCodePage = 1252;
    spec.languageBlock = "\x02";
    for (std::size_t li = 0; li < languages.size(); ++li) {
        const Language& lang = languages[li];
        int charset = 0;
        for (const Line& l : lang.items) {
            if (l.bare)
                parser.Fail(l.number, "expected KEY = VALUE");
            if (SameText(l.key, "Charset")) {
                charset = TextToInt(l.value, -1);
                if (charset < 0)
                    parser.Fail(l.number, "Charset: expected a character-set number");
            }
        }
        const int codePage = CodePageForCharset(charset);
        if (codePage == 0)
            parser.Fail(lang.line, "language " + lang.name + ": Charset " + std::to_string(charset) +
                                       " has no code page this tool knows");
        if (li == 0)
            firstCodePage = codePage;
        std::string section = "\x01";
        std::string text;
        if (!Utf8ToCodePage(lang.name, codePage, text))
            parser.Fail(lang.line, "language " + lang.name + ": its name cannot be written in code page " +
                                       std::to_string(codePage));
        section += text + "\x01";
        for (const Line& l : lang.items) {
            if (!Utf8ToCodePage(l.key + "=" + l.value, codePage, text))
                parser.Fail(l.number, "language " + lang.name + ", key " + l.key + ": the text cannot be written in code page " +
                                          std::to_string(codePage));
            if (text.find('\x01') != std::string::npos || text.find('\x02') != std::string::npos)
                parser.Fail(l.number, "language " + lang.name + ", key " + l.key + ": bytes 1 and 2 cannot be stored");
            section += text + "\x01";
        }
        spec.languageBlock += section + "\x02";
    }

    auto convert = [&](const std::string& key, const std::string& value, const char* where) {
        std::string text;
        if (!Utf8ToCodePage(value, firstCodePage, text))
            parser.Fail(0, std::string(where) + " " + key + ": the text cannot be written in code page " +
                               std::to_string(firstCodePage));
        return text;
    };
    auto item = [](std::map<std::string, std::string>& m, const char* k) { return m.count(k) ? m[k] : std::string(); };

    const std::string settingsToken = item(settings, "token");
    spec.settingsBlock = "|" + convert("InfoUrl", item(settings, "infourl"), "[settings]") + "|" +
                         convert("InfoFileName", item(settings, "infofilename"), "[settings]") + "|" +
                         convert("AgentExeName", item(settings, "agentexename"), "[settings]") + "|" +
                         ScrambleToken(settingsToken, seedFor("settings", settingsToken)) + "|" +
                         item(settings, "silentinstall") + "|";
    if (settingsToken.size() > 240)
        parser.Fail(0, "[settings] Token: at most 240 bytes");
    if (haveDownload) {
        std::string size = item(download, "size");
        if (!downloadSizeOf.empty()) {
            std::error_code ec;
            uintmax_t n = fs::file_size(fs::u8path(downloadSizeOf), ec);
            if (ec)
                parser.Fail(downloadSizeLine, "SizeOf: cannot read " + downloadSizeOf);
            size = std::to_string(n);
        }
        const std::string downloadToken = item(download, "token");
        if (downloadToken.size() > 240)
            parser.Fail(0, "[download] Token: at most 240 bytes");
        spec.hasDownloadBlock = true;
        spec.downloadBlock = "|" + convert("Url", item(download, "url"), "[download]") + "|" +
                             convert("FileName", item(download, "filename"), "[download]") + "|" +
                             item(download, "remoteonly") + "|" +
                             ScrambleToken(downloadToken, seedFor("download", downloadToken)) + "|" + size + "|";
    }

    // Entries: the engine first, then the files in their order.
    std::set<std::string> names;
    auto addEntry = [&](const std::string& name, const std::string& source, int line, bool engine) {
        std::string stored;
        if (!Utf8ToCodePage(name, firstCodePage, stored))
            parser.Fail(line, "entry " + name + ": the name cannot be written in code page " +
                                  std::to_string(firstCodePage));
        if (!IsSafeEntryName(stored) || stored.find_first_of("*|?\"<>") != std::string::npos)
            parser.Fail(line, "entry name \"" + name + "\" is not a plain file name");
        if (!names.insert(UpperCase(stored)).second)
            parser.Fail(line, "two entries are named " + name);
        if (!fs::is_regular_file(fs::u8path(source)))
            parser.Fail(line, "cannot read " + source);
        PackEntry e;
        e.name = stored;
        e.sourcePath = source;
        e.stamp = FileStamp(source, reproducible, epoch);
        e.engine = engine;
        if (engine)
            e.arguments = engineArguments;
        spec.entries.push_back(e);
    };
    if (!engineFile.empty())
        addEntry(engineName.empty() ? fs::u8path(engineFile).filename().u8string() : engineName, engineFile,
                 engineLine, true);
    for (const Line& l : files) {
        const std::string source = Resolve(base, l.value);
        const std::string name = l.bare ? fs::u8path(source).filename().u8string() : l.key;
        addEntry(name, source, l.number, false);
    }
    return spec;
}
