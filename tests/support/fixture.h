#pragma once
// A fresh installation in a temporary directory, made by the installation
// creator, removed when the fixture ends.

#include <string>

namespace testing_support {

class TempInstallation {
public:
    explicit TempInstallation(bool demo = false);
    ~TempInstallation();
    TempInstallation(const TempInstallation&) = delete;
    TempInstallation& operator=(const TempInstallation&) = delete;

    const std::string& dir() const { return m_dir; }
    std::string path(const std::string& name) const { return m_dir + "/" + name; }
    std::string library() const { return path("TOVIRAK.ABS"); }
    std::string users() const { return path("SETSRV.ABS"); }
    std::string workstation() const { return path("SETCLT.ABS"); }

private:
    std::string m_dir;
};

// An empty temporary directory, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& dir() const { return m_dir; }
    std::string path(const std::string& name) const { return m_dir + "/" + name; }

private:
    std::string m_dir;
};

}  // namespace testing_support
