#include "app/administration.h"

#include <filesystem>

#include "app/startup.h"
#include "core/error.h"
#include "core/text.h"
#include "store/key_values.h"

namespace fs = std::filesystem;

namespace app {

SaveDirectoryOutcome saveDirectory(Environment& env, DataModule& data,
                                   const std::string& desiredSystemDirectory,
                                   const std::string& desiredDatabaseLocation, bool startPageTicked) {
    SaveDirectoryOutcome out;
    const std::string systemDir = core::trim(desiredSystemDirectory);
    const std::string location = core::trim(desiredDatabaseLocation);
    if (systemDir.empty()) {
        out.refusal = kBlankSystemDirectory;
        return out;
    }
    if (location.empty()) {
        out.refusal = kBlankDatabaseLocation;
        return out;
    }
    store::Table& sistem = data.table("tbSISTEM");
    const std::string vb = startPageTicked ? "Y" : "";
    if (store::writeVariable(sistem, store::kSettingsLayout, "VB", vb)) env.startPage = vb;
    if (store::writeVariable(sistem, store::kSettingsLayout, "SYSDIR", systemDir))
        env.systemDirectory = systemDir;
    if (store::writeVariable(sistem, store::kSettingsLayout, "SYSDBF", location)) env.libraryPath = location;
    try {
        sistem.close();
        openWorkstationDatabase(env, data);
        readWorkstationSettings(env, data);
    } catch (const core::Error& e) {
        data.dbSETCLT.close();
        out.reopenError = e.what();
        return out;
    }
    out.closeWindow = true;
    return out;
}

bool saveLabelOption(DataModule& data, bool ticked) {
    return store::writeVariable(data.table("tbSISTEM"), store::kSettingsLayout, "CBBOOK", ticked ? "Y" : "");
}

bool labelOptionTicked(DataModule& data) {
    auto v = store::readVariable(data.table("tbSISTEM"), store::kSettingsLayout, "CBBOOK");
    return v && !core::trim(*v).empty();
}

SaveChangeOutcome saveOwnAccount(store::Table& accounts, const std::string& currentName,
                                 const std::string& currentPassword, const std::string& newName,
                                 const std::string& newPassword, const std::string& levelText) {
    SaveChangeOutcome out;
    const std::int64_t level = core::toInteger(core::trim(levelText));
    accounts.setIndexName("iUsername");
    if (!accounts.isOpen()) accounts.open();
    if (accounts.findKey({core::trim(newName), core::trim(newPassword)})) {
        out.message = kAccountTaken;
        return out;
    }
    out.hidePanels = true;
    if (!accounts.findKey({core::trim(currentName), core::trim(currentPassword)})) {
        out.message = kAccountMissing;
        return out;
    }
    accounts.edit();
    accounts.setString("USERNAME", newName);
    accounts.setString("USERPSWD", newPassword);
    accounts.setInteger("USERLEVEL", level);
    accounts.post();
    return out;
}

const EmptyingCommand kEmptyBookBroken{
    "tbHIBAH",
    "BEWARE !!!\rThis procedure will be emptying \"BrokenBook table\" only, not all database.\rMake sure "
    "to have backup first before emptying database.\rAnd...You must double cek before countinuing. "
    "Process anyway?",
    "Emptying table[tbHIBAH] sucessfully.",
    "Error u can`t empty [tbHIBAH] table or any user use the table...."};

const EmptyingCommand kEmptyHistory{
    "tbSEJARAH",
    "BEWARE !!!\rThis procedure will be emptying \"History table\" only, not all database.\rMake sure "
    "to have backup first before emptying database.\rAnd...You must double cek before countinuing. "
    "Process anyway?",
    "Emptying table[tbSEJARAH] sucessfully.",
    "Error u can`t empty [tbSEJARAH] table or any user use the table...."};

const std::vector<EmptyAllEntry>& emptyAllTables() {
    static const std::vector<EmptyAllEntry> entries = {
        {"tbCetakLabel", "Error u can`t empty [tbCetakLabel] table or any user use the table...."},
        {"tbANGGOTA", "Error u can`t empty [tbANGGOTA] table or any user use the table...."},
        {"tbAuthor", "Error u can`t empty [tbAuthor] table or any user use the table...."},
        {"tbBAHASA", "Error u can`t empty [tbBAHASA] table or any user use the table...."},
        {"tbBUKU", "Error u can`t empty [tbBUKU] table or any user use the table...."},
        {"tbKARTU", "Error u can`t empty [tbKARTU] table or any user use the table...."},
        {"tbKELUARGA", "Error u can`t empty [tbKELUARGA] table or any user use the table...."},
        {"tbPublisher", "Error u can`t empty [tbPublisher] table or any user use the table...."},
        {"tbSEJARAH", "Error u can`t empty [tbSEJARAH] table or any user use the table...."},
        {"tbTITLE", "Error u can`t empty [tbTitle] table or any user use the table...."},
        {"tbHIBAH", "Error u can`t empty [tbHIBAH] table or any user use the table...."},
        {"tbDIGITAL", "Error u can`t empty [tbDIGITAL] table or any user use the table...."},
        {"tbeTITLE", "Error u can`t empty [tbeTITLE] table or any user use the table...."},
        {"tbeAuthor", "Error u can`t empty [tbeAUTHOR] table or any user use the table...."},
        {"tbePublisher", "Error u can`t empty [tbePUBLISHER] table or any user use the table...."},
    };
    return entries;
}

bool emptyTableObject(DataModule& data, const std::string& objectName) {
    return data.table(objectName).emptyTable();
}

std::vector<std::string> emptyAllData(DataModule& data) {
    std::vector<std::string> failures;
    for (const auto& entry : emptyAllTables())
        if (!emptyTableObject(data, entry.tableObject)) failures.push_back(entry.failure);
    return failures;
}

void deleteBitmaps(const std::string& databaseDirectory) {
    for (const char* folder : {"imgbcbook", "imgbcmember", "imgbook", "imgmember"}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(databaseDirectory + folder, ec)) {
            if (core::equalsIgnoreCase(entry.path().extension().string(), ".bmp")) {
                std::error_code ignored;
                fs::remove(entry.path(), ignored);  // a file that stays is left without a message
            }
        }
    }
}

std::string digitalFilesQuestion(const std::string& databaseDirectory) {
    return "Are you sure, all data in this directory will be remove:\r" + databaseDirectory +
           "digital/*.*\ris allowed to delete all file and Process anyway?";
}

void deleteDigitalFiles(const std::string& databaseDirectory) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(databaseDirectory + "digital", ec)) {
        std::error_code ignored;
        if (entry.is_regular_file(ignored)) fs::remove(entry.path(), ignored);
    }
}

void restorePlaceholderPhoto(const std::string& databaseDirectory) {
    std::error_code ec;
    fs::copy_file(databaseDirectory + "NoPhoto.bmp", databaseDirectory + "imgmember/NoPhoto.bmp",
                  fs::copy_options::skip_existing, ec);
    // The member-card print falls back to this picture; emptying the
    // barcode folder took it away with the member barcodes.
    fs::copy_file(databaseDirectory + "NoBarcode.bmp", databaseDirectory + "imgbcmember/NoBarcode.bmp",
                  fs::copy_options::skip_existing, ec);
}

void compactLibrary(DataModule& data) {
    data.dbTOVIRAK.close();
    data.dbTOVIRAK.compact();
}

}  // namespace app
