#pragma once
// The installation creator: what a new installation ships. It makes the
// workstation, user and library database files with every table and index,
// the settings rows and counters the program updates but never inserts, the
// delivered accounts and lists, the placeholder pictures, help files and the
// template folders. With the demo option it adds a small library to try the
// program with.

#include <string>

namespace app {

struct InstallationOptions {
    bool demo = false;
    // Where the shipped files (lists, help, templates) are read from.
    std::string dataDirectory;
};

// The delivered administrator account.
inline constexpr const char* kDeliveredAdminName = "Admin";
inline constexpr const char* kDeliveredAdminPassword = "admin";

// Creates the installation in `directory` (system and database directory at
// once). Refuses (core::Error) when the directory already holds one.
void createInstallation(const std::string& directory, const InstallationOptions& options);

// Adds demo families, members, copies and loans to an installation.
void addDemoData(const std::string& directory);

}  // namespace app
