// The work folder of a package run and the room on its drive.
#pragma once

#include <string>

class TGFileInfo;

// TempDir + "SETUP_" + the time-of-day half of the program file's packed
// date-time; emptied and created on the first call, the same path after.
std::string WorkFolder();

// The package needs less than the folder's free bytes, and the folder exists.
bool EnoughTempSpace(const std::string& folder, const std::string& packagePath);

// Looks (once) among the fixed drives C, D and E for one with more room
// than the temporary folder's; true when one was found.
bool ChooseSpareDrive();
// A fresh folder under the spare drive's TEMP folder; empty without one.
std::string SpareWorkFolder();

// The space notice and question (only when the package asks for the notice
// or space is short); true to go on.
bool ConfirmTempSpace(const std::string& folder, const std::string& packagePath, const TGFileInfo& package);

// The registry asks for a prompt for every further disk.
bool ForcePromptSet();
