// How a running process is recognised by its name, and how the main window
// of a process is chosen among its top-level windows. No system calls: the
// Windows layer gathers the names and window facts.
#pragma once

#include <cstdint>
#include <string>

// Stand-ins that contain "*" and so never equal a real file name: the
// short form of a path that does not exist, and a base name left out of a
// full-path-only search.
constexpr const char* MissingShortPath = "*XX*";
constexpr const char* SuppressedBaseName = "*X*";

struct ProcessNames {
    std::string fullPath;   // full path of the process's image
    std::string baseName;   // its file-name part
    std::string shortPath;  // short (8.3) form of fullPath, or empty
};

// True when the searched name equals the process's full path, its base
// name (not with fullPathOnly), or when the short form of the process's
// path equals nameShort (the short form of the searched name, empty when
// that path does not exist). Trimmed, ignoring case. A process whose names
// could not be read never matches.
bool ProcessMatches(const std::string& name, const std::string& nameShort, const ProcessNames& process,
                    bool fullPathOnly);

// Room of the window lists of one main-window search.
constexpr int MaxScoredWindows = 2001;

constexpr unsigned char WindowVisible = 1;
constexpr unsigned char WindowCaptioned = 2;

// Scores the count windows of one process: 4 for every window of the list
// whose top owner it is, plus 2 with a caption and 1 when visible.
// topOwners[i] is 0 for a window without owner.
void ScoreWindows(const uintptr_t* windows, const uintptr_t* topOwners, const unsigned char* flags, int count,
                  uint16_t* scores);

// Index of the first window with the highest score above 0, or -1.
int BestScoredWindow(const uint16_t* scores, int count);
