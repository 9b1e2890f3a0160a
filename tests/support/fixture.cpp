#include "support/fixture.h"

#include <cstdlib>
#include <filesystem>

#include "app/installation.h"

namespace testing_support {

namespace {
std::string makeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tovirak-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    return made ? std::string(made) : std::string();
}
}  // namespace

TempInstallation::TempInstallation(bool demo) : m_dir(makeTempDir()) {
    app::InstallationOptions options;
    options.demo = demo;
    app::createInstallation(m_dir, options);
}

TempInstallation::~TempInstallation() {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

TempDir::TempDir() : m_dir(makeTempDir()) {}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

}  // namespace testing_support
