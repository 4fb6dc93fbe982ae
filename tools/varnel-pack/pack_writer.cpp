#include "pack_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <zlib.h>

#include "package/file_info.h"
#include "package/trailer.h"
#include "support/numbers.h"

namespace fs = std::filesystem;

namespace {

// One record's data is held to the range of its signed 32-bit length; a
// larger file continues in further records of the same name.
constexpr int64_t MaxRecordData = 0x7FFF0000;
constexpr int64_t Unlimited = INT64_MAX / 4;
constexpr int Piece = 65536;
// The least room worth starting a record in, beyond its header.
constexpr int64_t MinRecordContent = 256;
// What a stream may still add when finished after a sync flush, and the
// slack over deflateBound for the blocks emitted since the last flush.
constexpr int64_t FinishSlack = 16;
constexpr int64_t BoundSlack = 32;

// 64-bit positions in stdio files on both platforms.
int SeekFile(std::FILE* f, int64_t offset, int whence)
{
#ifdef _WIN32
    return _fseeki64(f, offset, whence);
#else
    return fseeko(f, static_cast<off_t>(offset), whence);
#endif
}

int64_t TellFile(std::FILE* f)
{
#ifdef _WIN32
    return _ftelli64(f);
#else
    return static_cast<int64_t>(ftello(f));
#endif
}

std::string ErrnoText()
{
    return std::strerror(errno);
}

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const std::string& path, const char* mode, const char* what)
{
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f)
        throw PackError("cannot open " + std::string(what) + " " + path + ": " + ErrnoText());
    return File(f);
}

void Put(std::FILE* f, const void* data, std::size_t n, const std::string& path)
{
    if (n && std::fwrite(data, 1, n, f) != n)
        throw PackError("cannot write " + path + ": " + ErrnoText());
}

std::string I32(int32_t v)
{
    std::string b(4, '\0');
    PutU32(b, 0, static_cast<uint32_t>(v));
    return b;
}

// One disk file being written.
struct Disk {
    std::string finalPath;
    std::string tempPath;
    File file;
    int64_t size = 0;
    int64_t limit = Unlimited;  // most bytes before the trailer
    int records = 0;
    bool pe = false;
    uint32_t payloadStart = 0;
};

class Writer {
public:
    Writer(const PackSpec& spec, PackOutcome& outcome) : spec_(spec), outcome_(outcome) {}
    ~Writer();
    void Run();

private:
    void StartDisk(const std::string& path, bool withImage, bool headers, bool limited);
    void FinishDisk(bool moreDisks, uint8_t extraFlags);
    void WriteBytes(const std::string& bytes);
    void WriteEntry(const PackEntry& entry, int64_t size);
    int64_t WriteRecord(std::FILE* source, const std::string& sourcePath, const std::string& header, int64_t pos,
                        int64_t left, int64_t room);
    int64_t WriteStored(std::FILE* source, const std::string& sourcePath, const std::string& header, int64_t pos,
                        int64_t count);
    void NextDisk();
    std::string DiskPath(int number) const;
    void Commit();

    const PackSpec& spec_;
    PackOutcome& outcome_;
    std::string stub_;
    PackageTrailer base_;
    std::vector<Disk> done_;
    Disk disk_;
    int diskNumber_ = 0;
    bool committed_ = false;
};

Writer::~Writer()
{
    if (committed_)
        return;
    disk_.file.reset();
    std::error_code ec;
    if (!disk_.tempPath.empty())
        fs::remove(disk_.tempPath, ec);
    for (Disk& d : done_)
        fs::remove(d.tempPath, ec);
}

std::string Writer::DiskPath(int number) const
{
    // Span: setup.exe, setup.exe.002, ...; CD: setup.exe.001, .002, ...
    if (spec_.layout == PackLayout::Cd || number > 1)
        return spec_.output + "." + ZeroPad(number, 3);
    return spec_.output;
}

void Writer::StartDisk(const std::string& path, bool withImage, bool headers, bool limited)
{
    disk_ = Disk();
    disk_.finalPath = path;
    disk_.tempPath = path + ".tmp-varnel-pack";
    disk_.file = OpenFile(disk_.tempPath, "w+b", "temporary file");
    if (limited && spec_.maxDiskSize > 0)
        disk_.limit = spec_.maxDiskSize - TrailerSize;
    if (withImage) {
        WriteBytes(stub_);
        disk_.pe = IsPeBytes(stub_);
        disk_.payloadStart = static_cast<uint32_t>(stub_.size());
    }
    if (headers) {
        WriteBytes(I32(static_cast<int32_t>(spec_.languageBlock.size())) + spec_.languageBlock);
        WriteBytes(I32(static_cast<int32_t>(spec_.settingsBlock.size())) + spec_.settingsBlock);
        if (spec_.hasDownloadBlock)
            WriteBytes(I32(static_cast<int32_t>(spec_.downloadBlock.size())) + spec_.downloadBlock);
        disk_.records += spec_.hasDownloadBlock ? 3 : 2;
    }
    if (disk_.size > disk_.limit)
        throw PackError("the maximum disk size " + IntToText(spec_.maxDiskSize) +
                        " is too small for the stub and the header blocks");
}

void Writer::WriteBytes(const std::string& bytes)
{
    Put(disk_.file.get(), bytes.data(), bytes.size(), disk_.tempPath);
    disk_.size += static_cast<int64_t>(bytes.size());
}

void Writer::FinishDisk(bool moreDisks, uint8_t extraFlags)
{
    PackageTrailer t = base_;
    t.payloadStart = disk_.payloadStart;
    t.flags = static_cast<uint8_t>(t.flags | extraFlags | (moreDisks ? FlagMoreDisks : 0));
    t.checksum = 0;
    WriteBytes(EncodeTrailer(t));
    std::FILE* f = disk_.file.get();
    if (disk_.pe) {
        std::string total(8, '\0');
        PutU32(total, 0, static_cast<uint32_t>(static_cast<uint64_t>(disk_.size) >> 32));
        PutU32(total, 4, static_cast<uint32_t>(disk_.size & 0xFFFFFFFF));
        if (SeekFile(f, TotalLengthHighOffset, SEEK_SET) != 0)
            throw PackError("cannot seek in " + disk_.tempPath);
        Put(f, total.data(), total.size(), disk_.tempPath);
    }
    if (std::fflush(f) != 0)
        throw PackError("cannot write " + disk_.tempPath + ": " + ErrnoText());
    uint32_t sum = spec_.skipChecksum ? ChecksumSkip : PackageChecksum(disk_.tempPath, TrailerSize);
    std::string b(4, '\0');
    PutU32(b, 0, sum);
    if (SeekFile(f, disk_.size - TrailerSize + 16, SEEK_SET) != 0)
        throw PackError("cannot seek in " + disk_.tempPath);
    Put(f, b.data(), 4, disk_.tempPath);
    std::FILE* raw = disk_.file.release();
    if (std::fclose(raw) != 0)
        throw PackError("cannot write " + disk_.tempPath + ": " + ErrnoText());
    outcome_.recordCount += disk_.records;
    done_.push_back(std::move(disk_));
    disk_ = Disk();
}

int64_t Writer::WriteStored(std::FILE* source, const std::string& sourcePath, const std::string& header, int64_t pos,
                            int64_t count)
{
    std::FILE* f = disk_.file.get();
    const int64_t length = static_cast<int64_t>(header.size()) + count;
    WriteBytes(I32(static_cast<int32_t>(-length)));
    WriteBytes(header);
    if (SeekFile(source, pos, SEEK_SET) != 0)
        throw PackError("cannot read " + sourcePath);
    std::vector<char> buffer(Piece);
    int64_t left = count;
    while (left > 0) {
        std::size_t want = static_cast<std::size_t>(left > Piece ? Piece : left);
        std::size_t got = std::fread(buffer.data(), 1, want, source);
        if (got != want)
            throw PackError("cannot read " + sourcePath + " (did it change while packing?)");
        Put(f, buffer.data(), got, disk_.tempPath);
        disk_.size += static_cast<int64_t>(got);
        left -= static_cast<int64_t>(got);
    }
    return count;
}

// One record of the entry, taking content from pos, at most left bytes,
// within room bytes of record data. Returns the content bytes it holds.
int64_t Writer::WriteRecord(std::FILE* source, const std::string& sourcePath, const std::string& header,
                            int64_t pos, int64_t left, int64_t room)
{
    if (room > MaxRecordData)
        room = MaxRecordData;
    const int64_t headerSize = static_cast<int64_t>(header.size());
    if (spec_.level == 0) {
        int64_t count = left < room - headerSize ? left : room - headerSize;
        return WriteStored(source, sourcePath, header, pos, count);
    }
    std::FILE* f = disk_.file.get();
    const int64_t recordStart = disk_.size;
    WriteBytes(I32(0));

    z_stream streams[2] = {};
    z_stream* z = &streams[0];
    z_stream* spare = &streams[1];
    if (deflateInit(z, spec_.level) != Z_OK)
        throw PackError("zlib: cannot start compression");
    std::vector<char> in(Piece), out(Piece + Piece / 2);
    int64_t written = 0;       // bytes of compressed data so far
    int64_t sinceFlush = 0;    // input since the last sync flush
    int64_t consumed = 0;      // content bytes taken
    if (SeekFile(source, pos, SEEK_SET) != 0) {
        deflateEnd(z);
        throw PackError("cannot read " + sourcePath);
    }
    // Runs the stream over the input with flush, writing the output to the
    // disk file or, when hold is given, into hold.
    auto drive = [&](z_stream* s, const char* data, std::size_t n, int flush, std::string* hold) {
        s->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        s->avail_in = static_cast<uInt>(n);
        do {
            s->next_out = reinterpret_cast<Bytef*>(out.data());
            s->avail_out = static_cast<uInt>(out.size());
            int rc = deflate(s, flush);
            if (rc == Z_STREAM_ERROR)
                throw PackError("zlib: compression failed");
            std::size_t produced = out.size() - s->avail_out;
            if (hold)
                hold->append(out.data(), produced);
            else {
                Put(f, out.data(), produced, disk_.tempPath);
                written += static_cast<int64_t>(produced);
            }
        } while (s->avail_out == 0 || s->avail_in > 0);
    };
    auto bound = [&](int64_t n) { return static_cast<int64_t>(deflateBound(z, static_cast<uLong>(n))) + BoundSlack; };

    try {
        drive(z, header.data(), header.size(), Z_NO_FLUSH, nullptr);
        sinceFlush = headerSize;
        while (consumed < left) {
            int64_t c = left - consumed < Piece ? left - consumed : Piece;
            if (written + bound(sinceFlush + c) <= room) {
                std::size_t got = std::fread(in.data(), 1, static_cast<std::size_t>(c), source);
                if (static_cast<int64_t>(got) != c)
                    throw PackError("cannot read " + sourcePath + " (did it change while packing?)");
                drive(z, in.data(), got, Z_NO_FLUSH, nullptr);
                consumed += c;
                sinceFlush += c;
                continue;
            }
            // Near the end of the room: flush what is pending, then take
            // pieces only when their exact output still fits.
            if (sinceFlush > 0) {
                drive(z, nullptr, 0, Z_SYNC_FLUSH, nullptr);
                sinceFlush = 0;
            }
            bool took = false;
            while (c >= MinRecordContent / 4 && !took) {
                if (deflateCopy(spare, z) != Z_OK)
                    throw PackError("zlib: out of memory");
                int64_t at = TellFile(source);
                std::size_t got = std::fread(in.data(), 1, static_cast<std::size_t>(c), source);
                if (static_cast<int64_t>(got) != c) {
                    deflateEnd(spare);
                    throw PackError("cannot read " + sourcePath + " (did it change while packing?)");
                }
                std::string hold;
                drive(spare, in.data(), got, Z_SYNC_FLUSH, &hold);
                if (written + static_cast<int64_t>(hold.size()) + FinishSlack <= room) {
                    Put(f, hold.data(), hold.size(), disk_.tempPath);
                    written += static_cast<int64_t>(hold.size());
                    consumed += c;
                    deflateEnd(z);
                    std::swap(z, spare);
                    took = true;
                } else {
                    deflateEnd(spare);
                    SeekFile(source, at, SEEK_SET);
                    c /= 2;
                }
            }
            if (!took)
                break;
        }
        drive(z, nullptr, 0, Z_FINISH, nullptr);
    } catch (...) {
        deflateEnd(z);
        throw;
    }
    deflateEnd(z);
    disk_.size += written;
    const int64_t raw = headerSize + consumed;
    if (written >= raw) {
        // Compression does not help: the record is stored instead (never
        // longer than the compressed one, so it fits the same room).
        if (SeekFile(f, recordStart, SEEK_SET) != 0)
            throw PackError("cannot seek in " + disk_.tempPath);
        disk_.size = recordStart;
        WriteStored(source, sourcePath, header, pos, consumed);
        if (std::fflush(f) != 0)
            throw PackError("cannot write " + disk_.tempPath + ": " + ErrnoText());
        std::error_code ec;
        fs::resize_file(disk_.tempPath, static_cast<uintmax_t>(disk_.size), ec);
        if (ec)
            throw PackError("cannot write " + disk_.tempPath + ": " + ec.message());
        if (SeekFile(f, 0, SEEK_END) != 0)
            throw PackError("cannot seek in " + disk_.tempPath);
        return consumed;
    }
    if (written > room)
        throw PackError("internal error: a record outgrew its disk file");
    std::string length = I32(static_cast<int32_t>(written));
    if (SeekFile(f, recordStart, SEEK_SET) != 0)
        throw PackError("cannot seek in " + disk_.tempPath);
    Put(f, length.data(), 4, disk_.tempPath);
    if (SeekFile(f, 0, SEEK_END) != 0)
        throw PackError("cannot seek in " + disk_.tempPath);
    return consumed;
}

void Writer::WriteEntry(const PackEntry& entry, int64_t size)
{
    std::string name = entry.name;
    if (entry.engine)
        name += "*" + (entry.arguments.empty() ? std::string() : " " + entry.arguments);
    std::string header = "|" + name + "|" + IntToText(entry.stamp) + "|";
    header.push_back('\0');
    File source = OpenFile(entry.sourcePath, "rb", "file");
    const int64_t headerSize = static_cast<int64_t>(header.size());
    int64_t pos = 0;
    bool first = true;
    while (first || pos < size) {
        const int64_t room = disk_.limit - disk_.size - 4;
        const int64_t rest = size - pos < MinRecordContent ? size - pos : MinRecordContent;
        const bool fresh = disk_.records == 0;
        if (room < headerSize + rest + BoundSlack + FinishSlack) {
            if (fresh || spec_.maxDiskSize <= 0)
                throw PackError("the maximum disk size " + IntToText(spec_.maxDiskSize) + " is too small");
            NextDisk();
            continue;
        }
        const int64_t taken = WriteRecord(source.get(), entry.sourcePath, header, pos, size - pos, room);
        pos += taken;
        ++disk_.records;
        first = false;
        if (taken == 0 && pos < size) {
            if (fresh)
                throw PackError("the maximum disk size " + IntToText(spec_.maxDiskSize) + " is too small");
            NextDisk();
        }
    }
}

void Writer::NextDisk()
{
    FinishDisk(true, 0);
    ++diskNumber_;
    StartDisk(DiskPath(diskNumber_), false, false, true);
}

void Writer::Run()
{
    {
        File stub = OpenFile(spec_.stubPath, "rb", "stub");
        std::error_code ec;
        uintmax_t size = fs::file_size(spec_.stubPath, ec);
        if (ec || size > 256u * 1024 * 1024)
            throw PackError("cannot read stub " + spec_.stubPath);
        stub_.resize(static_cast<std::size_t>(size));
        if (size && std::fread(&stub_[0], 1, stub_.size(), stub.get()) != stub_.size())
            throw PackError("cannot read stub " + spec_.stubPath);
    }
    if (!IsPeBytes(stub_))
        outcome_.warnings.push_back("the stub " + spec_.stubPath +
                                    " has no PE header at offset 256: TotalLength is not written");

    std::vector<int64_t> sizes;
    for (const PackEntry& e : spec_.entries) {
        std::error_code ec;
        uintmax_t size = fs::file_size(e.sourcePath, ec);
        if (ec)
            throw PackError("cannot read " + e.sourcePath + ": " + ec.message());
        sizes.push_back(static_cast<int64_t>(size));
    }
    std::vector<int64_t> spaceSizes = sizes;
    if (spec_.makeAgentCopy)
        spaceSizes.push_back(static_cast<int64_t>(stub_.size()) + 16 + static_cast<int64_t>(spec_.languageBlock.size() +
                                                                                      spec_.settingsBlock.size() +
                                                                                      spec_.downloadBlock.size()) +
                             TrailerSize);

    base_.headerBlockCount = spec_.hasDownloadBlock ? 3 : 2;
    base_.entryCount = static_cast<uint32_t>(spec_.entries.size());
    base_.magic = PackageMagic;
    for (int i = 0; i < SpaceFigureCount; ++i)
        base_.spaceByCluster[i] = ClusterRoundedTotal(spaceSizes, i == 0 ? 4096u : 256u << i);
    base_.flags = spec_.flags;
    base_.downloadFirst = spec_.downloadFirst;
    base_.askBeforeDownload = spec_.askBeforeDownload;
    base_.makeAgentCopy = spec_.makeAgentCopy;
    base_.isAgent = spec_.isAgent;
    base_.trailerLength = TrailerSize;

    if (spec_.layout == PackLayout::Cd) {
        // The launcher: the stub and the header blocks, restarting itself
        // from the hard disk and extracting from .001 on.
        StartDisk(spec_.output, true, true, false);
        FinishDisk(false, FlagCdRelaunch);
    }
    diskNumber_ = 1;
    StartDisk(DiskPath(1), true, true, true);
    for (std::size_t i = 0; i < spec_.entries.size(); ++i)
        WriteEntry(spec_.entries[i], sizes[i]);
    FinishDisk(false, 0);
    Commit();
}

void Writer::Commit()
{
    for (Disk& d : done_) {
        std::error_code ec;
        fs::rename(d.tempPath, d.finalPath, ec);
        if (ec) {
            // Windows does not replace on rename: remove first.
            fs::remove(d.finalPath, ec);
            fs::rename(d.tempPath, d.finalPath, ec);
        }
        if (ec)
            throw PackError("cannot write " + d.finalPath + ": " + ec.message());
        outcome_.files.push_back(d.finalPath);
    }
    committed_ = true;
}

}  // namespace

uint32_t ClusterRoundedTotal(const std::vector<int64_t>& sizes, uint32_t cluster)
{
    uint64_t total = 0;
    for (int64_t s : sizes)
        total += (static_cast<uint64_t>(s) + cluster - 1) / cluster * cluster;
    return total > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(total);
}

void WritePackage(const PackSpec& spec, PackOutcome& outcome)
{
    outcome = PackOutcome();
    if (spec.layout == PackLayout::Span && spec.maxDiskSize <= 0)
        throw PackError("a spanned package needs a maximum disk size");
    Writer writer(spec, outcome);
    writer.Run();
}
