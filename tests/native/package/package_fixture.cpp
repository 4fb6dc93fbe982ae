#include "package_fixture.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fixture {

Scratch::Scratch()
{
    static std::atomic<int> counter{0};
    dir_ = fs::temp_directory_path() /
           ("varnel-pkg-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
}

Scratch::~Scratch()
{
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string FakeStub(std::size_t size, bool pe)
{
    std::string s(size, '\0');
    s[0] = 'M';
    s[1] = 'Z';
    if (pe && size >= 258) {
        s[256] = 'P';
        s[257] = 'E';
    }
    for (std::size_t i = 300; i < size; ++i)
        s[i] = static_cast<char>(i * 7);
    return s;
}

std::string Deflate(const std::string& data, int level)
{
    uLongf n = compressBound(static_cast<uLong>(data.size()));
    std::string out(n, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &n, reinterpret_cast<const Bytef*>(data.data()),
              static_cast<uLong>(data.size()), level);
    out.resize(n);
    return out;
}

std::string Record(const std::string& data, bool compressed)
{
    std::string r(4, '\0');
    int32_t n = static_cast<int32_t>(data.size());
    PutU32(r, 0, static_cast<uint32_t>(compressed ? n : -n));
    return r + data;
}

std::string EntryRecord(const std::string& name, const std::string& content, bool compressed, uint32_t stamp)
{
    std::string body = "|" + name + "|" + std::to_string(stamp) + "|";
    body.push_back('\0');
    body += content;
    return Record(compressed ? Deflate(body) : body, compressed);
}

std::string WriteHandMade(const std::string& path, HandMade made)
{
    std::string bytes = made.image;
    made.trailer.payloadStart = static_cast<uint32_t>(bytes.size());
    for (const std::string& b : made.blocks) {
        std::string length(4, '\0');
        PutU32(length, 0, static_cast<uint32_t>(b.size()));
        bytes += length + b;
    }
    for (const std::string& r : made.records)
        bytes += r;
    if (made.trailer.magic == 0)
        made.trailer.magic = PackageMagic;
    made.trailer.trailerLength = TrailerSize;
    if (made.trailer.headerBlockCount == 0)
        made.trailer.headerBlockCount = static_cast<uint8_t>(made.blocks.size());
    bytes += EncodeTrailer(made.trailer);
    if (made.writeTotalLength && IsPeBytes(bytes)) {
        PutU32(bytes, TotalLengthHighOffset, 0);
        PutU32(bytes, TotalLengthLowOffset, static_cast<uint32_t>(bytes.size()));
    }
    WriteFile(path, bytes);
    if (made.computeChecksum) {
        PutU32(bytes, bytes.size() - TrailerSize + 16, PackageChecksum(path, TrailerSize));
        WriteFile(path, bytes);
    }
    return bytes;
}

bool RecordingHost::AskForDisk(const std::string& text, const std::string&, const std::string&, int)
{
    prompts.push_back(text);
    if (answers.empty())
        return false;
    bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

int RecordingHost::Steps() const
{
    return static_cast<int>(std::count_if(progress.begin(), progress.end(), [](const ProgressCall& c) { return c.mode == 1; }));
}

std::vector<std::string> FilesBelow(const fs::path& dir)
{
    std::vector<std::string> files;
    if (!fs::exists(dir))
        return files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files.push_back(fs::relative(e.path(), dir).string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace fixture
