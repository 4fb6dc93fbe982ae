// The unpacker's ends in the stub: the main window's progress bars, the
// pumping waits, the disk prompt and error boxes, the CD drive and AutoPlay.
#pragma once

#include "package/unpack.h"

class StubUnpackHost : public UnpackHost {
public:
    void Progress(int mode, int64_t low, int64_t high, int64_t position, int64_t step,
                  const std::string& status) override;
    void PumpMessages() override;
    void DelayPumping(int milliseconds) override;
    bool AskForDisk(const std::string& text, const std::string& caption, const std::string& buttons,
                    int charset) override;
    void ErrorBox(const std::string& text) override;
    void EjectCD(const std::string& path) override;
    void RegisterAutoPlayCancel() override;
    void DebugLine(const std::string& line) override;
    std::string LastErrorText() override;
    double DiskFreeSpace(const std::string& path) override;
    uint32_t Milliseconds() override;
    uint32_t ProcessId() override;
};
