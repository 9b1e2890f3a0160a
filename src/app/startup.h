#pragma once
// Start-up: the steps that creating the main window runs, in order, and what
// they leave for the window to show. Messages are returned in the order the
// user sees them; the window shows them, arranges its start area and opens the
// settings window where the outcome says so.

#include <string>
#include <vector>

#include "app/data_module.h"
#include "app/environment.h"

namespace app {

struct Message {
    enum class Kind { Information, Error };
    Kind kind;
    std::string text;
};

struct StartupOutcome {
    std::vector<Message> messages;
    // Start-up stopped after locating the library file (missing file or an
    // unreadable workstation database): the settings window opens at the
    // first paint, and only it, About, help and Exit are offered.
    bool stoppedEarly = false;
    // A working folder could not be created: the settings window is shown
    // and the program ends as soon as start-up has finished.
    bool folderCreationFailed = false;
};

inline constexpr const char* kWorkingFolders[] = {"imgbook", "imgmember", "imgbcbook", "imgbcmember"};

// Runs every step of start-up on the environment and the data module.
// `currentDirectory` is the process's current directory.
StartupOutcome startUp(Environment& env, DataModule& data, const std::string& currentDirectory);

// Reads SYSDBF, SYSDIR, LANG and VB into the environment, each only when its
// row exists (tbSISTEM is opened under iVAR when closed).
void readWorkstationSettings(Environment& env, DataModule& data);

// Opens the workstation database of the environment's system directory and
// its settings table; throws core::Error when it cannot.
void openWorkstationDatabase(Environment& env, DataModule& data);

// "Directory creation failed, ..." with the operating system's error code.
std::string folderCreationMessage(int errorCode);
inline constexpr const char* kFolderFailureFollowUp =
    "TOVIRAK may not work properly\rFixed this problem immidiately.";

}  // namespace app
