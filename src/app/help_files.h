#pragma once
// Help: the manual and the topic pages, and switching their language by
// copying the language's files over the working copies.

#include <string>

namespace app {

enum class HelpLanguage { English, Indonesian };

// In `directory`: when HELP.DOC exists it is replaced by HELP_EN.DOC (or
// HELP_ID.DOC), and HELPTOV.HLP by HELPTOV_EN.HLP (HELPTOV_ID.HLP). A file
// that does not exist is not created. Returns the message to show.
std::string switchHelpLanguage(const std::string& directory, HelpLanguage language);

// Context help topics of the windows.
inline constexpr int kHelpMain = 90;
inline constexpr int kHelpSettings = 100;
inline constexpr int kHelpBookSearch = 140;
inline constexpr int kHelpMemberSearch = 150;
inline constexpr int kHelpTransaction = 160;
inline constexpr int kHelpEntry = 180;
inline constexpr int kHelpMembers = 190;
inline constexpr int kHelpReport = 200;
inline constexpr int kHelpPrinting = 220;
inline constexpr int kHelpWithdrawal = 230;
inline constexpr int kHelpAbout = 250;
inline constexpr int kHelpTools = 280;

struct HelpTopic {
    bool found = false;
    std::string title;
    std::string text;
};

// Reads one topic of a topic file: lines "#topic N Title" open a topic, the
// lines up to the next one are its text.
HelpTopic readHelpTopic(const std::string& helpFilePath, int topic);

}  // namespace app
