#include "stub/temp_space.h"

#include <windows.h>

#include "package/engine_command.h"
#include "package/file_info.h"
#include "support/files_win.h"
#include "support/numbers.h"
#include "support/paths.h"
#include "support/registry_win.h"
#include "support/system_win.h"
#include "support/text.h"
#include "ui/msgbox_win.h"
#include "ui/package_language.h"

namespace {

std::string g_workFolder;
std::string g_spareTempBase;
bool g_spareChosen = false;

bool FixedDrive(char letter)
{
    const std::string root = std::string(1, letter) + ":\\";
    return GetDriveTypeA(root.c_str()) == DRIVE_FIXED;
}

// The room a drive offers for writing, found by writing a probe file; -1
// when nothing could be written there.
double ProbeRoom(char letter)
{
    const std::string temp = std::string(1, letter) + ":\\TEMP";
    const std::string probe = FolderExists(temp) ? temp + "\\TEMP" + RandomNumberText(10000, 100000) : temp;
    CreateDirectoryA(probe.c_str(), nullptr);
    double room = -1;
    const std::string file = probe + "\\~aa.tmp";
    WriteFileBytes(file, "aa", 0, false);
    if (FileExists(file))
        room = DiskFreeSpace(probe);
    DeleteTree(probe, true);
    return room;
}

// The time-of-day half of the file's last-write time (local), 0 when unknown.
uint32_t FileTimeOfDay(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
        FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
        return time;
    return 0;
}

}  // namespace

std::string WorkFolder()
{
    if (g_workFolder.empty()) {
        g_workFolder = TempDir(true) + "SETUP_" + IntToText(FileTimeOfDay(ProgramPath()));
        if (FolderExists(g_workFolder))
            DeleteTree(g_workFolder, true);
        CreateDirectoryA(g_workFolder.c_str(), nullptr);
    }
    return g_workFolder;
}

bool EnoughTempSpace(const std::string& folder, const std::string& packagePath)
{
    const TGFileInfo package(packagePath);
    return package.SpaceNeeded(folder) < DiskFreeSpace(folder) && FolderExists(folder);
}

bool ChooseSpareDrive()
{
    if (!g_spareTempBase.empty())
        return true;
    if (g_spareChosen)
        return false;
    g_spareChosen = true;
    const char letters[3] = {'C', 'D', 'E'};
    double room[3] = {-1, -1, -1};
    for (int i = 0; i < 3; ++i)
        if (FixedDrive(letters[i]))
            room[i] = ProbeRoom(letters[i]);
    const std::string temp = TempDir(true);
    const char tempLetter = temp.empty() ? 0 : UpperCase(temp.substr(0, 1))[0];
    char best = tempLetter;
    double bestRoom = 0;
    for (int i = 0; i < 3; ++i)
        if (room[i] > bestRoom) {
            bestRoom = room[i];
            best = letters[i];
        }
    if (best != tempLetter) {
        g_spareTempBase = std::string(1, best) + ":\\TEMP";
        if (FolderExists(g_spareTempBase + "\\TEMP"))
            g_spareTempBase += "\\TEMP";
    }
    return !g_spareTempBase.empty();
}

std::string SpareWorkFolder()
{
    if (g_spareTempBase.empty())
        return "";
    const std::string folder = g_spareTempBase + "_" + RandomNumberText(10000, 100000);
    if (FolderExists(folder))
        DeleteTree(folder, true);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool ConfirmTempSpace(const std::string& folder, const std::string& packagePath, const TGFileInfo& package)
{
    const std::string drive = folder.empty() ? "" : UpperCase(folder.substr(0, 1)) + ":";
    const TGFileInfo sized(packagePath);
    const double need = sized.SpaceNeeded(folder);
    const double free = DiskFreeSpace(folder);
    std::string message;
    if (package.ShowTempNotice())
        message = LangString(package, "s2", "Varnel will extract files to your Temp Drive (<DRIVE>)<P>");
    if (need >= free)
        message = LangString(package, "s3", "Limited Free Space on your Temp Drive! (<DRIVE>)<P>");
    if (message.empty())
        return true;
    message += LangString(package, "s4", "<P>Estimated space required on your Temp drive is: <T>  <SPACE_REQ> MB<P>");
    message += LangString(package, "s5", "Free space available on your Temp drive is: <T>  <SPACE_AVAIL> MB<P>");
    message += LangString(package, "s6", "<P>Continue with Setup?<P>");
    message = ReplaceAll(message, "<DRIVE>", drive);
    message = ReplaceAll(message, "<SPACE_REQ>", MegabytesText(need));
    message = ReplaceAll(message, "<SPACE_AVAIL>", MegabytesText(free));
    return ConfirmBox(0, message, LangString(package, "Confirm", "Confirm"),
                      LangString(package, "BtnText", "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|"),
                      LangCharset(package), 0);
}

bool ForcePromptSet()
{
    return ReadRegString("Software\\Marbleon\\Varnel\\SpanDisk", "ForcePrompt", "") == "1";
}
