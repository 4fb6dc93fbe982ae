// The demo's setup engine: copies the files unpacked beside it to
// %ProgramFiles%\Varnel Demo, writes what it did to install.log there,
// deletes the completion atom (the setup succeeded) and ends with 0.
#include <windows.h>

#include <string>

namespace {

std::string CommandSwitch(const std::string& line, const std::string& name)
{
    std::string::size_type p = line.find(name);
    if (p == std::string::npos)
        return "";
    p += name.size();
    return line.substr(p, line.find(' ', p) - p);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    const std::string self = buffer;
    const std::string source = self.substr(0, self.find_last_of('\\') + 1);
    std::string target = GetEnvironmentVariableA("ProgramFiles", buffer, MAX_PATH) ? buffer : "C:\\Program Files";
    target += "\\Varnel Demo";
    CreateDirectoryA(target.c_str(), nullptr);

    const std::string command = GetCommandLineA();
    std::string log = "command line: " + command + "\r\n";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((source + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || source + name == self)
                continue;
            const bool ok = CopyFileA((source + name).c_str(), (target + "\\" + name).c_str(), FALSE) != 0;
            log += (ok ? "installed: " : "failed: ") + name + "\r\n";
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    const std::string atomName = "DykeOkjhbvLexzVbxadMiStvkik" + CommandSwitch(command, "/TH_ID=");
    const ATOM atom = GlobalFindAtomA(atomName.c_str());
    if (atom)
        GlobalDeleteAtom(atom);
    log += atom ? "completion atom deleted\r\n" : "completion atom not found\r\n";

    HANDLE file = CreateFileA((target + "\\install.log").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, log.data(), static_cast<DWORD>(log.size()), &written, nullptr);
        CloseHandle(file);
    }
    return 0;
}
