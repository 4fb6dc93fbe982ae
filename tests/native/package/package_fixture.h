// Helpers for the package tests: a scratch folder, hand-made package files
// (for layouts the builder refuses to write) and a host that records what
// the unpacker reports.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <zlib.h>

#include "package/file_info.h"
#include "package/trailer.h"
#include "package/unpack.h"

namespace fixture {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class Scratch {
public:
    Scratch();
    ~Scratch();
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    const fs::path& Dir() const { return dir_; }

private:
    fs::path dir_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// A stub image of size bytes: "MZ" at 0 and, with pe, "PE" at 256.
std::string FakeStub(std::size_t size, bool pe);

std::string Deflate(const std::string& data, int level = 6);
// The record: i32 length then data; compressed ones get a positive length.
std::string Record(const std::string& data, bool compressed);
// An entry record whose body is the header "|name|stamp|", byte 0, content.
std::string EntryRecord(const std::string& name, const std::string& content, bool compressed, uint32_t stamp = 0);

struct HandMade {
    std::string image;                 // stub bytes, may be empty
    std::vector<std::string> blocks;   // header blocks (without lengths)
    std::vector<std::string> records;  // entry records (complete)
    PackageTrailer trailer;            // magic and lengths are filled in
    bool computeChecksum = true;       // else trailer.checksum as given
    bool writeTotalLength = true;      // for PE images
};

// Writes the file and returns its bytes.
std::string WriteHandMade(const std::string& path, HandMade made);

class RecordingHost : public UnpackHost {
public:
    struct ProgressCall {
        int mode;
        int64_t high;
    };
    std::vector<ProgressCall> progress;
    std::vector<std::string> prompts;
    std::vector<std::string> errors;
    std::vector<std::string> faults;
    std::vector<std::string> debug;
    std::vector<std::string> ejected;
    std::vector<EntryRecordInfo> records;
    int autoPlay = 0;
    int pumps = 0;
    // Answers to the disk prompts, in order; after them, Cancel.
    std::vector<bool> answers;

    void Progress(int mode, int64_t, int64_t high, int64_t, int64_t, const std::string&) override
    {
        progress.push_back({mode, high});
    }
    void PumpMessages() override { ++pumps; }
    bool AskForDisk(const std::string& text, const std::string&, const std::string&, int) override;
    void ErrorBox(const std::string& text) override { errors.push_back(text); }
    void EjectCD(const std::string& path) override { ejected.push_back(path); }
    void RegisterAutoPlayCancel() override { ++autoPlay; }
    void DebugLine(const std::string& line) override { debug.push_back(line); }
    void PackageFault(const std::string& what) override { faults.push_back(what); }
    void EntryRecord(const EntryRecordInfo& info) override { records.push_back(info); }
    int Steps() const;
};

// Every file below dir (relative paths), sorted.
std::vector<std::string> FilesBelow(const fs::path& dir);

}  // namespace fixture
