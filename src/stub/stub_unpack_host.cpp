#include "stub/stub_unpack_host.h"

#include <windows.h>

#include "stub/progress.h"
#include "support/debug_channel_win.h"
#include "support/files_win.h"
#include "support/messages_win.h"
#include "support/system_info_win.h"
#include "ui/msgbox_win.h"

void StubUnpackHost::Progress(int mode, int64_t low, int64_t high, int64_t position, int64_t step,
                              const std::string& status)
{
    ProgressNotify(mode, low, high, position, step, status);
}

void StubUnpackHost::PumpMessages() { ::PumpMessages(0); }
void StubUnpackHost::DelayPumping(int milliseconds) { ::DelayPumping(milliseconds, 0); }

bool StubUnpackHost::AskForDisk(const std::string& text, const std::string& caption, const std::string& buttons,
                                int charset)
{
    return OkCancelBox(0, text, caption, buttons, charset);
}

void StubUnpackHost::ErrorBox(const std::string& text) { ::ErrorBox(0, text, "", "", 0); }
void StubUnpackHost::EjectCD(const std::string& path) { ::EjectCD(path); }
void StubUnpackHost::RegisterAutoPlayCancel() { ::RegisterAutoPlayCancel(true); }
void StubUnpackHost::DebugLine(const std::string& line) { ::DebugLine(line); }
std::string StubUnpackHost::LastErrorText() { return ::LastErrorText(); }
double StubUnpackHost::DiskFreeSpace(const std::string& path) { return ::DiskFreeSpace(path); }
uint32_t StubUnpackHost::Milliseconds() { return GetTickCount(); }
uint32_t StubUnpackHost::ProcessId() { return GetCurrentProcessId(); }
