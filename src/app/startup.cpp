#include "app/startup.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "app/paths.h"
#include "core/error.h"
#include "store/key_values.h"

namespace app {

std::string folderCreationMessage(int errorCode) {
    return "Directory creation failed, make sure directory attribute is ReadWrite. error " +
           std::to_string(errorCode);
}

void openWorkstationDatabase(Environment& env, DataModule& data) {
    data.dbSETCLT.close();
    data.dbSETCLT.setFileName(workstationDatabasePath(env.systemDirectory));
    data.dbSETCLT.setPassword(kFilePassword);
    data.dbSETCLT.setMultiUser(false);
    data.dbSETCLT.open();
    store::Table& sistem = data.table("tbSISTEM");
    sistem.close();
    sistem.setIndexName("iVAR");
    sistem.open();
}

void readWorkstationSettings(Environment& env, DataModule& data) {
    store::Table& sistem = data.table("tbSISTEM");
    auto read = [&](const char* name, std::string& into) {
        if (auto v = store::readVariable(sistem, store::kSettingsLayout, name)) into = *v;
    };
    read("SYSDBF", env.libraryPath);
    read("SYSDIR", env.systemDirectory);
    read("LANG", env.language);
    read("VB", env.startPage);
}

StartupOutcome startUp(Environment& env, DataModule& data, const std::string& currentDirectory) {
    StartupOutcome out;
    auto fail = [&](const core::Error& e) {
        out.messages.push_back({Message::Kind::Error, e.what()});
    };

    // Steps 1-2: directory, language, version; the fixed formats are the
    // program's own text rules (core/text, core/date_time).
    env.systemDirectory = currentDirectory;
    env.language = "INA";
    env.version = kVersionText;

    // Steps 3-5: workstation database and its settings.
    try {
        openWorkstationDatabase(env, data);
        readWorkstationSettings(env, data);
    } catch (const core::Error& e) {
        fail(e);
        env.databaseDirectory = databaseDirectoryOf(env.libraryPath);
        out.stoppedEarly = true;
        return out;
    }
    env.databaseDirectory = databaseDirectoryOf(env.libraryPath);

    // Step 6: the library file must exist.
    std::error_code ec;
    if (env.libraryPath.empty() || !std::filesystem::is_regular_file(env.libraryPath, ec)) {
        env.libraryFileFound = false;
        out.stoppedEarly = true;
        return out;
    }
    env.libraryFileFound = true;

    // Step 7: user database.
    try {
        data.dbSETSRV.close();
        data.dbSETSRV.setFileName(userDatabasePath(env.databaseDirectory));
        data.dbSETSRV.setPassword(kFilePassword);
        data.dbSETSRV.setMultiUser(false);
        data.dbSETSRV.open();
        store::Table& user = data.table("tbUSER");
        user.close();
        user.setIndexName("iUsername");
        user.open();
    } catch (const core::Error& e) {
        fail(e);
        return out;
    }

    // Step 8: working folders; a failure is reported and start-up goes on.
    for (const char* folder : kWorkingFolders) {
        std::string path = env.databaseDirectory + folder;
        if (std::filesystem::is_directory(path, ec)) continue;
        if (::mkdir(path.c_str(), 0777) != 0) {
            out.messages.push_back({Message::Kind::Information, folderCreationMessage(errno)});
            out.messages.push_back({Message::Kind::Information, kFolderFailureFollowUp});
            out.folderCreationFailed = true;
        }
    }

    // Steps 9-10: the start area is arranged by the window; the anonymous user.
    env.user.becomeGuest();

    // Step 11: library database, multi-user.
    try {
        data.dbTOVIRAK.close();
        data.dbTOVIRAK.setFileName(env.libraryPath);
        data.dbTOVIRAK.setName("dbTOVIRAK");
        data.dbTOVIRAK.setPassword(kFilePassword);
        data.dbTOVIRAK.setMultiUser(true);
        data.dbTOVIRAK.open();
    } catch (const core::Error& e) {
        fail(e);
    }
    return out;
}

}  // namespace app
