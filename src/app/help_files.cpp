#include "app/help_files.h"

#include <filesystem>
#include <fstream>

#include "core/text.h"

namespace fs = std::filesystem;

namespace app {

namespace {
void replaceWith(const fs::path& dir, const char* target, const std::string& source) {
    std::error_code ec;
    if (!fs::exists(dir / target, ec)) return;
    fs::remove(dir / target, ec);
    fs::copy_file(dir / source, dir / target, ec);
}
}  // namespace

std::string switchHelpLanguage(const std::string& directory, HelpLanguage language) {
    const std::string suffix = language == HelpLanguage::English ? "EN" : "ID";
    replaceWith(directory, "HELP.DOC", "HELP_" + suffix + ".DOC");
    replaceWith(directory, "HELPTOV.HLP", "HELPTOV_" + suffix + ".HLP");
    return std::string("HELP Language is in ") +
           (language == HelpLanguage::English ? "ENGLISH" : "BAHASA INDONESIA") +
           "\rChoose specific window to get specific help, by pressing F1 button.";
}

HelpTopic readHelpTopic(const std::string& helpFilePath, int topic) {
    HelpTopic out;
    std::ifstream f(helpFilePath);
    std::string line;
    bool inTopic = false;
    const std::string opener = "#topic " + std::to_string(topic);
    while (std::getline(f, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (core::startsWith(line, "#topic ")) {
            if (inTopic) break;
            if (line == opener || core::startsWith(line, opener + " ")) {
                inTopic = true;
                out.found = true;
                out.title = core::trim(line.substr(opener.size()));
            }
            continue;
        }
        if (inTopic) out.text += line + "\n";
    }
    return out;
}

}  // namespace app
