// UnpackPackage: turns a package (one or more disk files) into plain files
// in a destination folder. Portable: everything that touches the screen or
// the system's message queue goes through an UnpackHost, which the stub
// connects to its windows and the tools and tests to their own ends.
#pragma once

#include <cstdint>
#include <string>

// One entry record as the unpacker met it (for listings and checks).
struct EntryRecordInfo {
    int disk = 0;
    int64_t offset = 0;        // of the record's length field
    bool compressed = false;
    int64_t storedLength = 0;  // bytes of the record's data
    int64_t contentLength = 0; // bytes of file content it carried
    std::string header;        // inner header, e.g. |Engine.exe*|1021410572|
    std::string name;          // the file name it was written under
    uint32_t stamp = 0;        // packed DOS date-time, 0 for none
    bool newFile = false;      // false when it continued an earlier record
};

class UnpackHost {
public:
    virtual ~UnpackHost();
    // The progress callback: mode 0 resets to the range low..high with the
    // position and step given, mode 1 advances by one step.
    virtual void Progress(int mode, int64_t low, int64_t high, int64_t position, int64_t step,
                          const std::string& status);
    // Lets pending window messages run; called between records, pieces read
    // and inflate rounds.
    virtual void PumpMessages();
    // Waits for the given time while letting messages run.
    virtual void DelayPumping(int milliseconds);
    // The OK/Cancel question for the next disk; true for OK.
    virtual bool AskForDisk(const std::string& text, const std::string& caption, const std::string& buttons,
                            int charset);
    // An error message (heading mode, no caption).
    virtual void ErrorBox(const std::string& text);
    // Ejects the medium of path's drive when it is a CD drive.
    virtual void EjectCD(const std::string& path);
    // Registers the message that suppresses AutoPlay of an inserted medium.
    virtual void RegisterAutoPlayCancel();
    virtual void DebugLine(const std::string& line);
    // The system's text for the last failed call, for failed writes.
    virtual std::string LastErrorText();
    virtual double DiskFreeSpace(const std::string& path);
    // A millisecond clock for the elapsed-time line.
    virtual uint32_t Milliseconds();
    virtual uint32_t ProcessId();
    // A fault that makes the package fail its check (damaged data, an
    // unsafe name). The default writes it as a debug line.
    virtual void PackageFault(const std::string& what);
    // Every entry record after it was read whole.
    virtual void EntryRecord(const EntryRecordInfo& info);
};

struct UnpackJob {
    std::string source;       // first disk file
    std::string destination;  // created when missing
    std::string agentName;    // file name for the agent copy; empty for none
    std::string diskPrompt;   // with the placeholder <DISK_NUM>
    std::string promptCaption;
    std::string buttonTexts;
    int charset = 0;
    bool forcePrompt = false;
    // False: every disk and record is read and checked as usual, but no
    // folder or file is created.
    bool writeFiles = true;
};

struct UnpackResult {
    // Every disk file read passed the checksum verdict, and no record was
    // damaged or carried an unsafe name.
    bool checksumOk = false;
    // The name item of the last entry whose name carries "*"; empty when
    // none or when the user cancelled a disk prompt.
    std::string engineSpec;
    int disksRead = 0;
    bool cancelled = false;
};

void RunUnpack(const UnpackJob& job, UnpackHost& host, UnpackResult& result);

// The unpacker with the stub's argument order.
void UnpackPackage(const std::string& source, const std::string& destination, const std::string& agentName,
                   bool& checksumOk, UnpackHost& host, const std::string& diskPrompt,
                   const std::string& promptCaption, const std::string& buttonTexts, int charset, bool forcePrompt,
                   std::string& engineSpec);

// The name of disk number disk (from 2) of a package whose first disk file
// is source: its base name (source without a final ".001") + "." + the
// number in three digits.
std::string DiskFileName(const std::string& source, int disk);

// Files that could not be written completely in this process.
int FailedWriteCount();
