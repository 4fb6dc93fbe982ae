#include "support/analizer_win.h"

#include "support/processes_win.h"
#include "support/system_info_win.h"

namespace {

BOOL CALLBACK RecordWindow(HWND window, LPARAM context)
{
    TAnalizer* analizer = reinterpret_cast<TAnalizer*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == analizer->ProcessId && analizer->Count < MaxScoredWindows)
        analizer->Windows[analizer->Count++] = window;
    return TRUE;
}

}  // namespace

void TAnalizer::Clear(DWORD processId)
{
    Count = 0;
    ProcessId = processId;
    for (int i = 0; i < MaxScoredWindows; ++i) {
        Windows[i] = nullptr;
        Scores[i] = 0;
    }
}

void TAnalizer::CollectWindows()
{
    EnumWindows(RecordWindow, reinterpret_cast<LPARAM>(this));
}

HWND TAnalizer::BestWindow()
{
    if (Count == 0)
        return nullptr;
    uintptr_t* windows = new uintptr_t[Count];
    uintptr_t* owners = new uintptr_t[Count];
    unsigned char* flags = new unsigned char[Count];
    for (int i = 0; i < Count; ++i) {
        windows[i] = reinterpret_cast<uintptr_t>(Windows[i]);
        owners[i] = reinterpret_cast<uintptr_t>(TopOwner(Windows[i]));
        flags[i] = static_cast<unsigned char>((IsWindowVisible(Windows[i]) ? WindowVisible : 0) |
                                              (WindowText(Windows[i]).empty() ? 0 : WindowCaptioned));
    }
    ScoreWindows(windows, owners, flags, Count, Scores);
    int best = BestScoredWindow(Scores, Count);
    delete[] windows;
    delete[] owners;
    delete[] flags;
    return best < 0 ? nullptr : Windows[best];
}

HWND MainWindowOfProcess(const std::string& name, bool fullPathOnly)
{
    DWORD pid = FindProcessId(name, fullPathOnly);
    if (pid == 0)
        return nullptr;
    TAnalizer* analizer = new TAnalizer;
    analizer->Clear(pid);
    analizer->CollectWindows();
    HWND best = analizer->BestWindow();
    delete analizer;
    return best;
}
