#include "package/unpack.h"

#include <set>
#include <vector>
#include <zlib.h>

#include "package/entry_name.h"
#include "package/file_info.h"
#include "package/trailer.h"
#include "support/file_rules.h"
#include "support/file_stream.h"
#include "support/lists.h"
#include "support/numbers.h"
#include "support/text.h"

namespace {

// Records are read, inflated and written in pieces of this size, so memory
// stays the same whatever the size of an entry.
constexpr int PieceSize = 65536;

int failedWrites = 0;

uint32_t StampValue(const std::string& text)
{
    int64_t value = 0;
    if (!TryTextToInt64(text, value) || value < 0 || value > 0xFFFFFFFFll)
        return 0;
    return static_cast<uint32_t>(value);
}

// One run of the unpacker.
class Unpacker {
public:
    Unpacker(const UnpackJob& job, UnpackHost& host, UnpackResult& result) : job_(job), host_(host), result_(result)
    {
    }
    void Run();

private:
    enum class Records { Done, Fault };

    Records ReadRecords(InputFile& file, int64_t& offset, int64_t end);
    bool ReadRecordData(InputFile& file, int64_t length, bool compressed);
    bool Consume(const char* data, std::size_t count);
    void BeginEntry();
    void FinishEntry();
    void AbandonEntry();
    void WriteAgentCopy(const PackageTrailer& trailer);
    void Fault(const std::string& what);
    void ReportFailedWrite(const std::string& path, int64_t dataSize, const std::string& errorText);

    const UnpackJob& job_;
    UnpackHost& host_;
    UnpackResult& result_;

    int disk_ = 1;
    std::string diskFile_;
    int64_t records_ = 0;
    int64_t headerEnd_ = -1;
    int headerBlockCount_ = 2;
    bool faulted_ = false;
    std::set<std::string> namesSeen_;

    // The entry being read.
    EntryRecordInfo entry_;
    bool inHeader_ = true;
    bool skipBody_ = false;
    bool writeFailed_ = false;
    std::string errorText_;
    std::string path_;
    OutputFile out_;
    std::vector<char> input_;
    std::vector<char> output_;
};

void Unpacker::Fault(const std::string& what)
{
    faulted_ = true;
    host_.PackageFault(what);
}

void Unpacker::Run()
{
    const uint32_t start = host_.Milliseconds();
    PackageTrailer trailer;
    result_ = UnpackResult();
    bool proceed = true;
    host_.Progress(0, 0, 0, 0, 1, "");
    diskFile_ = job_.source;
    input_.resize(PieceSize);
    output_.resize(PieceSize);

    for (;;) {
        // Open the disk file; a missing one goes straight to the next-disk
        // step with the previous trailer, so its prompt repeats.
        if (FileExists(diskFile_)) {
            trailer = ReadTrailer(diskFile_);
            int64_t offset = trailer.payloadStart;
            if (disk_ == 1)
                host_.DebugLine("FileInfo.FilesCount=" + IntToText(trailer.entryCount));
            result_.checksumOk =
                ChecksumAccepted(PackageChecksum(diskFile_, trailer.trailerLength), trailer.checksum);
            if (!result_.checksumOk) {
                host_.PackageFault("checksum mismatch in " + diskFile_);
                break;
            }
            ++result_.disksRead;
            InputFile file;
            if (!file.Open(diskFile_)) {
                Fault("cannot open " + diskFile_);
                break;
            }
            int64_t length = file.Size();
            if (IsPeFile(file)) {
                int64_t total = ReadTotalLength(file);
                if (total > 0)
                    length = total;
            }
            host_.DebugLine("FileLen=" + IntToText(length));
            if (trailer.magic == PackageMagic) {
                file.Seek(offset);
                if (disk_ == 1) {
                    headerBlockCount_ = trailer.headerBlockCount;
                    host_.Progress(0, 0, trailer.entryCount, 0, 1, "");
                    if (job_.writeFiles && !CreateFolderTree(job_.destination))
                        host_.ErrorBox(job_.destination + "<P><P>Unable to create Directory!<P><P>" +
                                       host_.LastErrorText());
                }
                if (ReadRecords(file, offset, length - TrailerSize) == Records::Fault)
                    break;
                if (disk_ == 1)
                    WriteAgentCopy(trailer);
            }
            file.Close();
        }
        // The next disk.
        if (!(trailer.flags & FlagMoreDisks))
            break;
        host_.RegisterAutoPlayCancel();
        ++disk_;
        diskFile_ = DiskFileName(job_.source, disk_);
        if (job_.forcePrompt || !FileExists(diskFile_)) {
            host_.EjectCD(diskFile_);
            const std::string text = ReplaceAllText(job_.diskPrompt, "<DISK_NUM>", IntToText(disk_));
            do {
                proceed = host_.AskForDisk(text, job_.promptCaption, job_.buttonTexts, job_.charset);
                host_.DelayPumping(500);
            } while (proceed && !FileExists(diskFile_));
        }
        host_.Progress(1, 0, 0, 0, 0, "");
        if (!proceed)
            break;
    }

    if (faulted_)
        result_.checksumOk = false;
    if (!proceed) {
        result_.cancelled = true;
        result_.engineSpec.clear();
    }
    host_.DebugLine("UnCompressTime: " + IntToText(host_.Milliseconds() - start) + " MS");
    host_.DebugLine("");
    host_.DelayPumping(500);
}

Unpacker::Records Unpacker::ReadRecords(InputFile& file, int64_t& offset, int64_t end)
{
    // The first record of a disk file is always read; then on while more
    // than a trailer's length is left.
    do {
        host_.PumpMessages();
        unsigned char b[4];
        if (file.Read(b, 4) != 4) {
            Fault("record length missing at offset " + IntToText(offset) + " of " + diskFile_);
            return Records::Fault;
        }
        const int32_t n = static_cast<int32_t>(GetU32(b));
        const bool compressed = n > 0;
        const int64_t length = n < 0 ? -static_cast<int64_t>(n) : static_cast<int64_t>(n);
        if (offset + 4 + length > end) {
            Fault("record at offset " + IntToText(offset) + " of " + diskFile_ + " runs past the end of its data");
            return Records::Fault;
        }
        const int64_t recordOffset = offset;
        offset += 4;
        ++records_;
        if (records_ == headerBlockCount_ && disk_ == 1)
            headerEnd_ = offset + length;
        if (records_ <= headerBlockCount_) {
            // A header block: nothing more is done with it.
            if (!file.Seek(offset + length)) {
                Fault("header block cut short in " + diskFile_);
                return Records::Fault;
            }
        } else {
            entry_ = EntryRecordInfo();
            entry_.disk = disk_;
            entry_.offset = recordOffset;
            entry_.compressed = compressed;
            entry_.storedLength = length;
            inHeader_ = true;
            skipBody_ = false;
            writeFailed_ = false;
            errorText_.clear();
            path_.clear();
            if (!ReadRecordData(file, length, compressed)) {
                AbandonEntry();
                return Records::Fault;
            }
            FinishEntry();
        }
        offset += length;
    } while (end - offset > 0);
    return Records::Done;
}

bool Unpacker::ReadRecordData(InputFile& file, int64_t length, bool compressed)
{
    z_stream z = {};
    if (compressed && inflateInit(&z) != Z_OK) {
        Fault("out of memory for inflating");
        return false;
    }
    bool ended = false;
    bool ok = true;
    int64_t left = length;
    while (ok && left > 0) {
        const int want = left > PieceSize ? PieceSize : static_cast<int>(left);
        const int got = file.Read(input_.data(), want);
        host_.PumpMessages();
        if (got <= 0) {
            Fault("read of " + diskFile_ + " delivered no bytes");
            ok = false;
            break;
        }
        left -= got;
        if (!compressed) {
            ok = Consume(input_.data(), static_cast<std::size_t>(got));
            continue;
        }
        if (ended) {
            Fault("data after the end of a compressed entry in " + diskFile_);
            ok = false;
            break;
        }
        z.next_in = reinterpret_cast<Bytef*>(input_.data());
        z.avail_in = static_cast<uInt>(got);
        while (ok && (z.avail_in > 0 || z.avail_out == 0) && !ended) {
            z.next_out = reinterpret_cast<Bytef*>(output_.data());
            z.avail_out = static_cast<uInt>(output_.size());
            const int rc = inflate(&z, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && !(rc == Z_BUF_ERROR && z.avail_in == 0)) {
                Fault("damaged compressed entry in " + diskFile_ + (z.msg ? std::string(": ") + z.msg : std::string()));
                ok = false;
                break;
            }
            const std::size_t produced = output_.size() - z.avail_out;
            if (produced > 0)
                ok = Consume(output_.data(), produced);
            if (rc == Z_STREAM_END) {
                ended = true;
                if (z.avail_in > 0) {
                    Fault("data after the end of a compressed entry in " + diskFile_);
                    ok = false;
                }
            }
            host_.PumpMessages();
        }
    }
    if (compressed) {
        if (ok && !ended) {
            Fault("compressed entry cut short in " + diskFile_);
            ok = false;
        }
        inflateEnd(&z);
    }
    return ok;
}

bool Unpacker::Consume(const char* data, std::size_t count)
{
    if (inHeader_) {
        std::size_t i = 0;
        while (i < count && data[i] != '\0')
            ++i;
        if (entry_.header.size() + i > MaxEntryHeaderLength) {
            // Far longer than any name and stamp: not written.
            inHeader_ = false;
            skipBody_ = true;
            Fault("entry header longer than " + IntToText(MaxEntryHeaderLength) + " bytes in " + diskFile_);
            return true;
        }
        entry_.header.append(data, i);
        if (i == count)
            return true;
        inHeader_ = false;
        data += i + 1;
        count -= i + 1;
        BeginEntry();
    }
    entry_.contentLength += static_cast<int64_t>(count);
    if (skipBody_ || writeFailed_ || count == 0 || !job_.writeFiles)
        return true;
    if (!out_.Write(data, count)) {
        writeFailed_ = true;
        errorText_ = host_.LastErrorText();
        out_.Close();
    }
    return true;
}

void Unpacker::BeginEntry()
{
    const std::string& header = entry_.header;
    if (header.empty()) {
        skipBody_ = true;
        return;
    }
    std::string name = ListItem(header, 0, "");
    const std::string stamp = ListItem(header, 1, "");
    const bool engine = Pos("*", header) > 0;
    std::string spec = header;
    if (Pos("*", name) > 0) {
        spec = name;
        name = name.substr(0, name.find('*'));
    }
    if (!IsSafeEntryName(name)) {
        skipBody_ = true;
        Fault("unsafe entry name \"" + PrintableName(name) + "\" not written");
        return;
    }
    if (engine)
        result_.engineSpec = spec;
    entry_.name = name;
    entry_.stamp = StampValue(stamp);
    path_ = job_.destination + PathSeparator + name;
    if (job_.writeFiles)
        entry_.newFile = !FileExists(path_);
    else
        entry_.newFile = namesSeen_.insert(name).second;
    if (entry_.newFile)
        host_.Progress(1, 0, 0, 0, 0, "");
    if (job_.writeFiles && !out_.Create(path_, true)) {
        writeFailed_ = true;
        errorText_ = host_.LastErrorText();
    }
}

void Unpacker::FinishEntry()
{
    if (inHeader_ || skipBody_) {
        // No byte 0, an empty header or an unsafe name: no file.
        out_.Close();
        if (!entry_.header.empty() || entry_.storedLength > 0)
            host_.EntryRecord(entry_);
        return;
    }
    if (job_.writeFiles) {
        // The date goes through the open handle: opening every file a
        // second time just to date it costs more than its data on small
        // files.
        if (out_.IsOpen() && !writeFailed_ && entry_.stamp != 0)
            out_.SetDosDateTime(entry_.stamp);
        if (out_.IsOpen() && !out_.Close() && !writeFailed_) {
            writeFailed_ = true;
            errorText_ = host_.LastErrorText();
        }
        if (writeFailed_)
            ReportFailedWrite(path_, entry_.contentLength, errorText_);
    }
    host_.EntryRecord(entry_);
}

void Unpacker::AbandonEntry()
{
    // What was written of the damaged entry stays, as files of earlier
    // entries do.
    out_.Close();
}

void Unpacker::ReportFailedWrite(const std::string& path, int64_t dataSize, const std::string& errorText)
{
    ++failedWrites;
    if (failedWrites != 1)
        return;
    const std::string diagnosis = errorText + "<P>" + "  Data Size: <T>" + IntToText(dataSize) + " Bytes<P>" +
                                  "  File Size:  <T>" + IntToText(FileSizeByName(path)) + " Bytes<P>" +
                                  "  Bytes Free: <T>" + IntToText(static_cast<int64_t>(host_.DiskFreeSpace(path))) +
                                  " Bytes";
    host_.ErrorBox(path + "<P><P>Unable to save Extracted File!<P><P>" + diagnosis);
}

void Unpacker::WriteAgentCopy(const PackageTrailer& trailer)
{
    const std::string name = FileNamePart(job_.agentName);
    if (name.empty() || !job_.writeFiles)
        return;
    if (!EndsWith(".exe", job_.source, true) && !EndsWith(".exe.001", job_.source, true))
        return;
    if (!IsSafeEntryName(name)) {
        host_.DebugLine("agent name \"" + PrintableName(name) + "\" refused");
        return;
    }
    if (headerEnd_ < 0)
        return;
    const std::string path = job_.destination + PathSeparator + name;
    InputFile in;
    OutputFile out;
    bool ok = in.Open(job_.source) && in.Seek(0) && out.Create(path, false);
    std::string errorText = ok ? std::string() : host_.LastErrorText();
    int64_t done = 0;
    while (ok && done < headerEnd_) {
        const int want = headerEnd_ - done > PieceSize ? PieceSize : static_cast<int>(headerEnd_ - done);
        const int got = in.Read(input_.data(), want);
        if (got <= 0) {
            ok = false;
            break;
        }
        // The low word of TotalLength is cleared: the copy ends at its own
        // trailer.
        for (int64_t at = TotalLengthLowOffset; at < TotalLengthLowOffset + 4; ++at) {
            if (at >= done && at < done + got)
                input_[static_cast<std::size_t>(at - done)] = 0;
        }
        ok = out.Write(input_.data(), static_cast<std::size_t>(got));
        done += got;
    }
    if (ok) {
        PackageTrailer agent = trailer;
        agent.isAgent = 1;
        agent.trailerLength = TrailerSize;
        const std::string bytes = EncodeTrailer(agent);
        ok = out.Write(bytes.data(), bytes.size());
    }
    if (!ok && errorText.empty())
        errorText = host_.LastErrorText();
    if (!out.Close())
        ok = false;
    in.Close();
    if (!ok) {
        ReportFailedWrite(path, headerEnd_ + TrailerSize, errorText);
        return;
    }
    SetFileDosDateTime(path, FileDosDateTime(job_.source));
    host_.DebugLine(IntToText(host_.ProcessId()) + " New AU-Agent: " + path);
}

}  // namespace

UnpackHost::~UnpackHost() = default;
void UnpackHost::Progress(int, int64_t, int64_t, int64_t, int64_t, const std::string&) {}
void UnpackHost::PumpMessages() {}
void UnpackHost::DelayPumping(int) {}
bool UnpackHost::AskForDisk(const std::string&, const std::string&, const std::string&, int)
{
    return false;
}
void UnpackHost::ErrorBox(const std::string&) {}
void UnpackHost::EjectCD(const std::string&) {}
void UnpackHost::RegisterAutoPlayCancel() {}
void UnpackHost::DebugLine(const std::string&) {}
std::string UnpackHost::LastErrorText()
{
    return std::string();
}
double UnpackHost::DiskFreeSpace(const std::string&)
{
    return 0;
}
uint32_t UnpackHost::Milliseconds()
{
    return 0;
}
uint32_t UnpackHost::ProcessId()
{
    return 0;
}
void UnpackHost::PackageFault(const std::string& what)
{
    DebugLine(what);
}
void UnpackHost::EntryRecord(const EntryRecordInfo&) {}

std::string DiskFileName(const std::string& source, int disk)
{
    const std::string base = EndsWith(".001", source, false) ? source.substr(0, source.size() - 4) : source;
    return base + "." + ZeroPad(disk, 3);
}

void RunUnpack(const UnpackJob& job, UnpackHost& host, UnpackResult& result)
{
    Unpacker(job, host, result).Run();
}

void UnpackPackage(const std::string& source, const std::string& destination, const std::string& agentName,
                   bool& checksumOk, UnpackHost& host, const std::string& diskPrompt,
                   const std::string& promptCaption, const std::string& buttonTexts, int charset, bool forcePrompt,
                   std::string& engineSpec)
{
    UnpackJob job;
    job.source = source;
    job.destination = destination;
    job.agentName = agentName;
    job.diskPrompt = diskPrompt;
    job.promptCaption = promptCaption;
    job.buttonTexts = buttonTexts;
    job.charset = charset;
    job.forcePrompt = forcePrompt;
    UnpackResult result;
    RunUnpack(job, host, result);
    checksumOk = result.checksumOk;
    engineSpec = result.engineSpec;
}

int FailedWriteCount()
{
    return failedWrites;
}
