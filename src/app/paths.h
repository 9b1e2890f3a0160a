#pragma once
// Where the program's files are, derived from the environment's two paths.

#include <string>

namespace app {

// The library database file is named TOVIRAK.ABS, 11 characters; the database
// directory is the trimmed library path less its last 11 characters, so it
// keeps its trailing separator (/data/TOVIRAK.ABS gives /data/). A file of
// another name length yields a wrong directory, as it always has.
std::string databaseDirectoryOf(const std::string& libraryPath);

// The user database: database directory + "/SETSRV.ABS" (a doubled separator
// is harmless).
std::string userDatabasePath(const std::string& databaseDirectory);
std::string workstationDatabasePath(const std::string& systemDirectory);

// A file in `directory` whose name matches without regard to case (help files
// are looked for by a lower-case name); empty when there is none.
std::string findFileIgnoringCase(const std::string& directory, const std::string& name);

}  // namespace app
