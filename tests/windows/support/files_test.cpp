// File reads and writes, free space, deletion of files and trees, and the
// removal of a running program after it ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/files_win.h"
#include "support/start_program_win.h"
#include "test_files.h"

namespace {

std::string Bytes(std::size_t n)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

}  // namespace

TEST(FileReads, RangesOfAFile)
{
    const std::string path = UniqueTempName("vrange") + ".bin";
    const std::string data = Bytes(100);
    ASSERT_TRUE(PutFile(path, data));
    EXPECT_EQ(ReadFileRange(path, 10000, 0), data);
    EXPECT_EQ(ReadFileRange(path, 0, 0), data);
    EXPECT_EQ(ReadFileRange(path, 0, 40), data.substr(40));
    EXPECT_EQ(ReadFileRange(path, 10, 95), data.substr(95));
    EXPECT_EQ(ReadFileRange(path, 10, 20), data.substr(20, 10));
    EXPECT_EQ(ReadFileRange(path, 10000, 100), "");
    EXPECT_EQ(ReadFileRange(path, 10, -1), "");
    EXPECT_EQ(ReadFileRange(path + ".missing", 10, 0), "");
    EXPECT_EQ(FileSizeByName(path), 100u);
    EXPECT_EQ(FileSizeByName(path + ".missing"), 0u);
    DeleteFileA(path.c_str());
}

TEST(FileReads, SizesAndOffsetsBeyond4GB)
{
    const std::string path = UniqueTempName("vbig") + ".bin";
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    const int64_t at = 0x100000000LL + 10;  // past 4 GB: a sparse file
    LONG high = static_cast<LONG>(at >> 32);
    SetFilePointer(f, static_cast<LONG>(at & 0xFFFFFFFF), &high, FILE_BEGIN);
    DWORD n = 0;
    bool wrote = WriteFile(f, "tail", 4, &n, nullptr) && n == 4;
    EXPECT_EQ(FileSize64(f), static_cast<uint64_t>(at + 4));
    CloseHandle(f);
    if (!wrote) {
        DeleteFileA(path.c_str());
        GTEST_SKIP() << "no room for a file past 4 GB here";
    }
    EXPECT_EQ(FileSizeByName(path), static_cast<uint64_t>(at + 4));
    EXPECT_EQ(ReadFileRange(path, 4, at), "tail");
    EXPECT_EQ(ReadFileRange(path, 100, at + 2), "il");
    EXPECT_EQ(ReadFileRange(path, 2, at - 2), std::string("\0\0", 2));
    DeleteFileA(path.c_str());
}

TEST(FileWrites, CreateAppendDateAndFailures)
{
    const std::string path = UniqueTempName("vwrite") + ".bin";
    const std::string big = Bytes(3000000);  // written in chunks
    // 9 December 2026 14:05:08, local time.
    const uint32_t dosDate = (static_cast<uint32_t>((2026 - 1980) << 9 | 12 << 5 | 9) << 16) |
                             (14 << 11 | 5 << 5 | 8 / 2);
    ASSERT_TRUE(WriteFileBytes(path, big, dosDate, false));
    EXPECT_EQ(SlurpFile(path), big);
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    FILETIME written;
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    GetFileTime(f, nullptr, nullptr, &written);
    CloseHandle(f);
    FileTimeToLocalFileTime(&written, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    EXPECT_EQ((static_cast<uint32_t>(date) << 16) | time, dosDate);

    ASSERT_TRUE(WriteFileBytes(path, "abc", 0, false));  // emptied first
    EXPECT_EQ(SlurpFile(path), "abc");
    EXPECT_TRUE(WriteFileBytes(path, "def", 0, true));
    EXPECT_TRUE(AppendToFile(path, "gh", 0));
    EXPECT_EQ(SlurpFile(path), "abcdefgh");
    const std::string fresh = UniqueTempName("vappend") + ".txt";
    EXPECT_TRUE(AppendToFile(fresh, "new", 0));
    EXPECT_EQ(SlurpFile(fresh), "new");

    // A file held open without sharing cannot be written.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteFileBytes(path, "x", 0, false));
    EXPECT_FALSE(AppendToFile(path, "x", 0));
    CloseHandle(held);
    EXPECT_EQ(SlurpFile(path), "abcdefgh");
    EXPECT_FALSE(WriteFileBytes(TempDir(true) + "no_such_folder_4711\\x.bin", "x", 0, false));
    DeleteFileA(path.c_str());
    DeleteFileA(fresh.c_str());
}

TEST(FreeSpace, DrivesFoldersAndMissingDrives)
{
    EXPECT_GT(DiskFreeSpace(TempDir(true)), 0.0);
    EXPECT_GT(DiskFreeSpace("C:"), 0.0);
    // A folder that does not exist falls back to its drive.
    EXPECT_GT(DiskFreeSpace("c:/no_such_folder_4711/x"), 0.0);
    DWORD drives = GetLogicalDrives();
    for (int letter = 25; letter >= 3; --letter) {
        if (!(drives & (1u << letter))) {
            EXPECT_EQ(DiskFreeSpace(std::string(1, static_cast<char>('A' + letter)) + ":\\x"), -1.0);
            break;
        }
    }
}

TEST(FileDeletion, ByMaskAndWholeTrees)
{
    const std::string root = UniqueTempName("vdel");
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub.tmp").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub.tmp\\deeper").c_str(), nullptr));
    PutFile(root + "\\a.tmp", "a");
    PutFile(root + "\\b.tmp", "b");
    PutFile(root + "\\c.txt", "c");
    PutFile(root + "\\sub.tmp\\deeper\\locked.bin", "x");
    SetFileAttributesA((root + "\\b.tmp").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((root + "\\sub.tmp\\deeper\\locked.bin").c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(DeleteFilesByMask(root + "\\*.tmp", false));
    EXPECT_FALSE(PathExists(root + "\\a.tmp"));
    EXPECT_TRUE(PathExists(root + "\\b.tmp"));  // read-only stays without clearing
    EXPECT_TRUE(PathExists(root + "\\sub.tmp"));  // folders are not matched
    EXPECT_TRUE(DeleteFilesByMask(root + "\\*.tmp", true));
    EXPECT_FALSE(PathExists(root + "\\b.tmp"));
    EXPECT_TRUE(PathExists(root + "\\c.txt"));
    EXPECT_FALSE(DeleteFilesByMask(root + "\\*.none", true));

    EXPECT_FALSE(DeleteTree(root, false));  // the read-only file holds it
    EXPECT_TRUE(PathExists(root + "\\sub.tmp\\deeper\\locked.bin"));
    EXPECT_TRUE(DeleteTree(root + "\\", true));
    EXPECT_FALSE(PathExists(root));
    EXPECT_FALSE(DeleteTree(root, true));  // did not exist
    EXPECT_FALSE(DeleteTree("", true));
}

// A folder prepared outside (support/link_tree.sh makes a Unix symbolic
// link, which Wine shows as a reparse point) or, where the system makes
// them, a symbolic link made here: root\link points to outside\keep.txt.
TEST(FileDeletion, LinksAreRemovedNotFollowed)
{
    char prepared[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("VARNEL_LINK_TREE", prepared, sizeof prepared);
    std::string root;
    std::string outside;
    if (n > 0 && n < sizeof prepared) {
        root = std::string(prepared, n) + "\\tree";
        outside = std::string(prepared, n) + "\\target";
    } else {
        using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
        auto createLink = reinterpret_cast<CreateLink>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
        root = UniqueTempName("vlink");
        outside = root + "_outside";
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(outside.c_str(), nullptr));
        PutFile(outside + "\\keep.txt", "keep");
        if (createLink)
            createLink((root + "\\link").c_str(), outside.c_str(), 1 /* folder */);
    }
    const DWORD link = GetFileAttributesA((root + "\\link").c_str());
    if (link == INVALID_FILE_ATTRIBUTES || !(link & FILE_ATTRIBUTE_REPARSE_POINT)) {
        DeleteTree(root, true);
        DeleteTree(outside, true);
        GTEST_SKIP() << "no folder link here";
    }
    ASSERT_EQ(SlurpFile(root + "\\link\\keep.txt"), "keep");
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    PutFile(root + "\\sub\\gone.txt", "x");
    const bool removed = DeleteTree(root, true);
    EXPECT_EQ(SlurpFile(outside + "\\keep.txt"), "keep");  // never descended into
    EXPECT_FALSE(PathExists(root + "\\sub"));
    // Wine cannot remove a Unix symbolic link through the Windows calls, so
    // the prepared tree stays behind there; a Windows link goes.
    if (n == 0) {
        EXPECT_TRUE(removed);
        EXPECT_FALSE(PathExists(root));
        DeleteTree(outside, true);
    }
}

TEST(FileDeletion, EjectOnlyCdDrives)
{
    EXPECT_FALSE(EjectCD("C:\\Temp"));
    EXPECT_FALSE(EjectCD(""));
    EXPECT_FALSE(EjectCD("1:\\"));
}

// One test runs both cases: the script's name is fixed, so two removals at
// once would share it.
TEST(SelfRemoval, RunningCopyIsRemovedAfterItEnds)
{
    for (bool removeFolder : {false, true}) {
        const std::string folder = UniqueTempName("vself ") + " dir";  // blanks in the path
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        const std::string copy = folder + "\\self copy.exe";
        ASSERT_TRUE(CopyFileA(ToolPath("test_app.exe").c_str(), copy.c_str(), FALSE));
        SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE process = nullptr;
        ASSERT_TRUE(StartProgram(copy, copy + " /deleteself=" + (removeFolder ? "2" : "1"), SW_HIDE, &process));
        EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
        CloseHandle(process);
        EXPECT_TRUE(WaitFor([&] { return !PathExists(copy); }, 30000)) << copy;
        if (removeFolder) {
            EXPECT_TRUE(WaitFor([&] { return !PathExists(folder); }, 30000)) << folder;
        }
        EXPECT_TRUE(WaitFor([&] { return !PathExists(SelfRemovalScriptPath()); }, 30000));
        if (!removeFolder) {
            EXPECT_TRUE(PathExists(folder));
            RemoveDirectoryA(folder.c_str());
        }
    }
}
