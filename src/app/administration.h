#pragma once
// What the settings window does to the data: saving the directories and the
// label option, changing one's own account, and emptying tables and folders.
// Each function returns the texts to show; the window only shows them.

#include <optional>
#include <string>
#include <vector>

#include "app/data_module.h"
#include "app/environment.h"

namespace app {

struct SaveDirectoryOutcome {
    std::optional<std::string> refusal;      // blank input: nothing written
    std::optional<std::string> reopenError;  // new workstation database unreadable
    bool closeWindow = false;
};

inline constexpr const char* kBlankSystemDirectory = "Blank SystemDirectory\rCan Not changed";
inline constexpr const char* kBlankDatabaseLocation = "Blank DatabaseLocation\rCan Not changed";

SaveDirectoryOutcome saveDirectory(Environment& env, DataModule& data,
                                   const std::string& desiredSystemDirectory,
                                   const std::string& desiredDatabaseLocation, bool startPageTicked);

// "Save": CBBOOK becomes "Y" or empty; false (nothing written) without the row.
bool saveLabelOption(DataModule& data, bool ticked);
// Whether CBBOOK exists and is non-blank.
bool labelOptionTicked(DataModule& data);

struct SaveChangeOutcome {
    std::string message;  // empty on success
    bool hidePanels = false;
};

inline constexpr const char* kAccountTaken = "UserName and Password, not available.\rTry another Name or Password";
inline constexpr const char* kAccountMissing = "UserName and Password, not found.";

// Own account: refuses a name and password pair that another account has;
// finds the current account by the name and password shown and rewrites it.
// The level text is validated before anything is written.
SaveChangeOutcome saveOwnAccount(store::Table& accounts, const std::string& currentName,
                                 const std::string& currentPassword, const std::string& newName,
                                 const std::string& newPassword, const std::string& levelText);

struct EmptyingCommand {
    const char* tableObject;
    const char* confirmation;
    const char* success;
    const char* failure;
};

extern const EmptyingCommand kEmptyBookBroken;
extern const EmptyingCommand kEmptyHistory;

inline constexpr const char* kEmptyAllQuestion =
    "*** BEWARE !!! ***\rThis procedure will be emptying all of the database.\rMake sure to have "
    "backup first before emptying database.\rAnd...You must double cek before countinuing. Process anyway?";
inline constexpr const char* kEmptyAllDone =
    "You just finished to emptying database,\rfor maintenance data we will automatically close this "
    "program.\rIf you found one or more message can`t emptying table,\rjust try this procedure again.";

// The tables "Emptying ALL Data" empties, in order, with their failure texts.
struct EmptyAllEntry {
    const char* tableObject;
    const char* failure;
};
const std::vector<EmptyAllEntry>& emptyAllTables();

// Empties one table object (opening its connection's table as needed).
bool emptyTableObject(DataModule& data, const std::string& objectName);

// Empties every table of the list; returns the failure messages in order.
std::vector<std::string> emptyAllData(DataModule& data);

// Deletes *.bmp in imgbcbook, imgbcmember, imgbook and imgmember.
void deleteBitmaps(const std::string& databaseDirectory);
std::string digitalFilesQuestion(const std::string& databaseDirectory);
void deleteDigitalFiles(const std::string& databaseDirectory);
// Copies NoPhoto.bmp into imgmember and NoBarcode.bmp into imgbcmember,
// each unless one is there.
void restorePlaceholderPhoto(const std::string& databaseDirectory);
// Closes the library connection and compacts its file.
void compactLibrary(DataModule& data);

}  // namespace app
