#include "app/paths.h"

#include <filesystem>

#include "core/text.h"

namespace app {

std::string databaseDirectoryOf(const std::string& libraryPath) {
    std::string path = core::trim(libraryPath);
    std::size_t chars = core::characterCount(path);
    return chars > 11 ? core::leftChars(path, chars - 11) : std::string();
}

std::string userDatabasePath(const std::string& databaseDirectory) {
    return databaseDirectory + "/SETSRV.ABS";
}

std::string workstationDatabasePath(const std::string& systemDirectory) {
    return systemDirectory + "/SETCLT.ABS";
}

std::string findFileIgnoringCase(const std::string& directory, const std::string& name) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
        if (core::equalsIgnoreCase(entry.path().filename().string(), name)) return entry.path().string();
    }
    return {};
}

}  // namespace app
