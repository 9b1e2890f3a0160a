#include "app/installation.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/paths.h"
#include "app/word_templates.h"
#include "core/bitmap.h"
#include "core/error.h"
#include "core/text.h"
#include "store/connection.h"
#include "store/schema.h"
#include "store/table.h"

namespace fs = std::filesystem;

namespace app {

namespace {

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream f(path);
    if (!f) throw core::Error("Cannot read the shipped file \"" + path + "\"");
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(f, line))
        if (!core::trim(line).empty()) lines.push_back(line);
    return lines;
}

void createDatabase(const std::string& path, store::DatabaseFile file) {
    store::Connection::createFile(path);
    store::Connection c("setup");
    c.setFileName(path);
    c.open();
    c.begin();
    for (const auto& table : store::tablesOf(file))
        for (const auto& sql : store::createStatements(table)) c.execute(sql);
    c.commit();
}

void insertRow(store::Table& t, const std::vector<std::pair<const char*, std::string>>& values) {
    t.insert();
    for (const auto& [field, value] : values) t.setString(field, value);
    t.post();
}

// A grey head-and-shoulders placeholder, 120 x 150 pixels.
bool writePlaceholderPhoto(const std::string& path) {
    core::Raster r(120, 150, 0xE6E6E6);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 120; ++x) {
            int dx = x - 60, dy = y - 55;
            bool head = dx * dx + dy * dy <= 26 * 26;
            int sy = y - 150, sx = x - 60;
            bool shoulders = y > 95 && sx * sx * 100 / (55 * 55) + sy * sy * 100 / (60 * 60) <= 100;
            if (head || shoulders) r.set(x, y, 0xA0A0A0);
        }
    return core::writeBitmap(path, r);
}

// A plain white strip with a thin frame, printed when a member has no barcode.
bool writeNoBarcode(const std::string& path) {
    core::Raster r(200, 60, 0xFFFFFF);
    for (int x = 0; x < 200; ++x) {
        r.set(x, 0, 0x808080);
        r.set(x, 59, 0x808080);
    }
    for (int y = 0; y < 60; ++y) {
        r.set(0, y, 0x808080);
        r.set(199, y, 0x808080);
    }
    return core::writeBitmap(path, r);
}

void copyFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) throw core::Error("Cannot copy \"" + from.string() + "\" to \"" + to.string() + "\": " + ec.message());
}

void makeDirectory(const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) throw core::Error("Cannot create the folder \"" + dir.string() + "\": " + ec.message());
}

}  // namespace

void createInstallation(const std::string& directory, const InstallationOptions& options) {
    fs::path dir = fs::absolute(directory).lexically_normal();
    std::string dirText = dir.string();
    if (!dirText.empty() && dirText.back() == '/') dirText.pop_back();
    makeDirectory(dir);
    for (auto file : {store::DatabaseFile::Workstation, store::DatabaseFile::Users, store::DatabaseFile::Library})
        if (fs::exists(dir / store::fileNameOf(file)))
            throw core::Error("\"" + dirText + "\" already holds an installation (" +
                              store::fileNameOf(file) + ")");
    fs::path data = options.dataDirectory.empty() ? fs::path(TOVIRAK_DATA_DIR) : fs::path(options.dataDirectory);

    const std::string libraryPath = dirText + "/" + store::fileNameOf(store::DatabaseFile::Library);
    createDatabase(dirText + "/SETCLT.ABS", store::DatabaseFile::Workstation);
    createDatabase(dirText + "/SETSRV.ABS", store::DatabaseFile::Users);
    createDatabase(libraryPath, store::DatabaseFile::Library);

    {
        store::Connection c("dbSETCLT");
        c.setFileName(dirText + "/SETCLT.ABS");
        c.open();
        store::Table sistem(c, "SISTEM");
        sistem.open();
        insertRow(sistem, {{"VAR", "SYSDBF"}, {"ISI", libraryPath}});
        insertRow(sistem, {{"VAR", "SYSDIR"}, {"ISI", dirText}});
        insertRow(sistem, {{"VAR", "LANG"}, {"ISI", "INA"}});
        insertRow(sistem, {{"VAR", "VB"}, {"ISI", ""}});
        insertRow(sistem, {{"VAR", "CBBOOK"}, {"ISI", ""}});
    }
    {
        store::Connection c("dbSETSRV");
        c.setFileName(dirText + "/SETSRV.ABS");
        c.open();
        store::Table user(c, "USER");
        user.open();
        insertRow(user, {{"USERNAME", kDeliveredAdminName},
                         {"USERPSWD", kDeliveredAdminPassword},
                         {"USERLEVEL", "1"},
                         {"USERID", "ADMIN-01"}});
        store::Table umum(c, "umum");
        umum.open();
        insertRow(umum, {{"KASUS", "LastRec"}, {"KATA", "1201205140001"}});
        insertRow(umum, {{"KASUS", "LastRecDig"}, {"KATA", "2201205140001"}});
    }
    {
        store::Connection c("dbTOVIRAK");
        c.setFileName(libraryPath);
        c.open();
        c.begin();
        store::Table udc(c, "tUDC");
        udc.open();
        for (const auto& line : readLines((data / "udc.txt").string())) {
            auto parts = core::split(line, '\t');
            insertRow(udc, {{"UDC", parts.at(0)}, {"Keterangan", parts.at(1)}});
        }
        store::Table ddc(c, "tDDC");
        ddc.open();
        for (const auto& line : readLines((data / "ddc.txt").string())) {
            auto parts = core::split(line, '\t');
            insertRow(ddc, {{"DDC", parts.at(0)}, {"Keterangan", parts.at(1)}});
        }
        store::Table bahasa(c, "tBAHASA");
        bahasa.open();
        for (const auto& line : readLines((data / "languages.txt").string()))
            insertRow(bahasa, {{"BAHASA", core::trim(line)}});
        c.commit();
    }

    // Pictures, folders, help and templates.
    for (const char* folder : {"imgbook", "imgmember", "imgbcbook", "imgbcmember", "digital", "dot", "doc", "laporan/htm"})
        makeDirectory(dir / folder);
    if (!writePlaceholderPhoto((dir / "NoPhoto.bmp").string()) ||
        !writePlaceholderPhoto((dir / "imgmember" / "NoPhoto.bmp").string()) ||
        !writeNoBarcode((dir / "NoBarcode.bmp").string()) ||
        !writeNoBarcode((dir / "imgbcmember" / "NoBarcode.bmp").string()))
        throw core::Error("Cannot write the placeholder pictures in \"" + dirText + "\"");
    writeStartingTemplates((dir / "dot").string());
    for (const char* name : {"header.txt", "isi.txt", "footer.txt"})
        copyFile(data / "laporan" / "htm" / name, dir / "laporan" / "htm" / name);
    for (const char* name : {"HELP_EN.DOC", "HELP_ID.DOC", "HELPTOV_EN.HLP", "HELPTOV_ID.HLP"})
        copyFile(data / "help" / name, dir / name);
    copyFile(data / "help" / "HELP_EN.DOC", dir / "HELP.DOC");
    copyFile(data / "help" / "HELPTOV_EN.HLP", dir / "HELPTOV.HLP");

    if (options.demo) addDemoData(dirText);
}

}  // namespace app
