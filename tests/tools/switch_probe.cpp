// Reports what the switch functions read from this program's own command
// line. The tests start it with real command lines; it writes one line per
// fact to the file named by the environment variable VARNEL_PROBE_OUT, and
// asks about the switch names listed, separated by ";", in VARNEL_PROBE_NAMES.
#include <windows.h>

#include <string>

#include "support/numbers.h"
#include "support/system_win.h"

namespace {

std::string Env(const char* name)
{
    char buffer[4096];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
}

}  // namespace

int main()
{
    LoadHostFacts();
    std::string out = "tail=" + CommandTail() + "\n";
    std::string names = Env("VARNEL_PROBE_NAMES");
    std::string::size_type start = 0;
    while (start < names.size()) {
        std::string::size_type end = names.find(';', start);
        if (end == std::string::npos)
            end = names.size();
        std::string name = names.substr(start, end - start);
        out += "value " + name + "=" + SwitchValue(name) + "\n";
        out += "present " + name + "=" + (SwitchPresent(name) ? "1" : "0") + "\n";
        out += "int " + name + "=" + IntToText(SwitchInt(name, -1)) + "\n";
        start = end + 1;
    }
    HANDLE file = CreateFileA(Env("VARNEL_PROBE_OUT").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    BOOL ok = WriteFile(file, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == out.size() ? 0 : 4;
}
