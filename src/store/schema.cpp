#include "store/schema.h"

#include <regex>

#include "core/text.h"

namespace store {

namespace {

FieldDef text(const char* name, int width) { return {name, FieldType::Text, width}; }
FieldDef integer(const char* name) { return {name, FieldType::Integer, 0}; }
FieldDef number(const char* name) { return {name, FieldType::Float, 0}; }
FieldDef date(const char* name) { return {name, FieldType::Date, 0}; }
FieldDef dateTime(const char* name) { return {name, FieldType::DateTime, 0}; }
FieldDef blob(const char* name) { return {name, FieldType::Blob, 0}; }

IndexDef index(const char* name, std::vector<std::string> fields, bool unique = false,
               bool caseInsensitive = true) {
    return {name, std::move(fields), unique, caseInsensitive};
}

// One row per physical copy; the withdrawn and withdrawal-batch tables share it.
std::vector<FieldDef> bookFields() {
    return {text("JENIS", 2),       text("TITLE", 100),     text("AUTHOR", 100),
            text("PUBLISHER", 100), text("OC", 1),          text("CNKLS", 3),
            text("CNRAK", 3),       text("CNBRS", 3),       text("CNTG", 8),
            text("CNNUM", 4),       text("UDC", 1),         text("KELAS", 10),
            integer("USIA"),        text("ISBN", 20),       blob("GAMBAR"),
            text("STATUS", 1),      text("KONDISI", 6),     date("TGBELI"),
            text("SHARGA", 15),     text("NMTOKO", 50),     text("NMDONATUR", 50),
            text("KDANGGOTA", 20),  text("KDFANGGOTA", 20), text("PTGSNEW", 20),
            {"IO", FieldType::Char, 1}, text("KEYWORD", 200), text("KDBARANG", 16),
            text("DDC", 7),         text("BAHASA", 3),      text("SIMPANFILE", 200),
            dateTime("TGNEW"),      dateTime("TGEDIT"),     text("PTGSEDIT", 20),
            text("KDPETUGASB", 20), text("KDPETUGASR", 20), text("KDPETUGASH", 20),
            date("TGPINJAM"),       date("TGJANJI"),        date("TGKEMBALI"),
            dateTime("TGHAPUS")};
}

// The loan record shared by open loans, history and the two batches.
std::vector<FieldDef> loanFields() {
    return {dateTime("TGTRAN"),     text("KDBARANG", 16),   text("TITLE", 100),
            text("AUTHOR", 100),    text("PUBLISHER", 100), text("KDFANGGOTA", 30),
            text("NMANGGOTA", 40),  text("KDFKELUARGA", 14), text("KDPETUGASB", 20),
            text("KDPETUGASR", 20), dateTime("TGPINJAM"),   dateTime("TGJANJI"),
            dateTime("TGKEMBALI"),  text("STATUS", 2),      integer("DENDAHARI"),
            number("DENDA"),        number("DENDAPAID"),    text("INFO", 200),
            text("KELAS", 3)};
}

std::vector<FieldDef> familyFields() {
    std::vector<FieldDef> f = {text("KDFKELUARGA", 20), text("ALAMAT", 100), text("TELP", 20)};
    for (const char* p : {"MR", "MS"}) {
        std::string s(p);
        f.push_back({s + "NAMA", FieldType::Text, 40});
        f.push_back({s + "KANTOR", FieldType::Text, 80});
        f.push_back({s + "ALAMAT", FieldType::Text, 100});
        f.push_back({s + "TELP", FieldType::Text, 40});
        f.push_back({s + "HP", FieldType::Text, 60});
        f.push_back({s + "PINBB", FieldType::Text, 40});
        f.push_back({s + "EMAIL", FieldType::Text, 80});
        f.push_back({s + "WEB", FieldType::Text, 100});
        f.push_back({s + "GAMBAR", FieldType::Blob, 0});
    }
    return f;
}

std::vector<TableDef> workstationTables() {
    return {
        {"SISTEM", {text("VAR", 20), text("ISI", 255)}, {index("iVAR", {"VAR"})}},
        {"tCetakLabel",
         {text("KDBARANG", 16), text("TITLE", 100), text("CNKLS", 3), text("CNRAK", 3),
          text("CNBRS", 3), text("UDC", 1), text("DDC", 7), text("AUT", 100)},
         {index("iKDBARANG", {"KDBARANG"})}},
        {"tCetakMember",
         {text("KDFANGGOTA", 20), text("KDFKELUARGA", 20), text("NMANGGOTA", 40)},
         {index("iKDFANGGOTA", {"KDFANGGOTA"})}},
        {"tKARTUb", loanFields(), {index("iKDBARANG", {"KDBARANG"})}},
        {"tKARTUr", loanFields(), {index("iKDBARANG", {"KDBARANG"})}},
        {"tHIBAHt", bookFields(), {index("iKodeBuku", {"KDBARANG"})}},
    };
}

std::vector<TableDef> userTables() {
    return {
        // Login names and passwords compare with regard to case.
        {"USER",
         {text("USERNAME", 20), text("USERPSWD", 20), integer("USERLEVEL"), text("USERID", 20)},
         {index("iUsername", {"USERNAME", "USERPSWD"}, false, false)}},
        {"umum", {text("KASUS", 20), text("KATA", 30)}, {index("iKasus", {"KASUS"})}},
    };
}

std::vector<TableDef> libraryTables() {
    std::vector<FieldDef> member = {
        text("KDFANGGOTA", 20), text("KDFKELUARGA", 20), text("NMANGGOTA", 40),
        text("ALAMAT", 100),    text("TELP", 20),        text("HP", 40),
        text("EMAIL", 40),      blob("GAMBAR"),          text("KELAS", 3),
        text("WEB", 40),        number("DENDA"),         integer("MAXPINJAM"),
        integer("LAMAPINJAM"),  integer("JLHPINJAM"),    date("DOB")};
    std::vector<FieldDef> digital = {
        text("JENIS", 2),        text("LI", 6),          text("SIMPANFILE", 200),
        text("KDDIGITAL", 16),   text("EA", 1),          text("TITLE", 100),
        text("AUTHOR", 100),     text("PUBLISHER", 100), text("KEYWORD", 200),
        integer("USIA"),         blob("GAMBAR"),         text("BAHASA", 20),
        text("KELAS", 10),       text("PTGSNEW", 20),    dateTime("TGNEW"),
        text("PTGSEDIT", 20),    dateTime("TGEDIT")};
    return {
        {"tBUKU",
         bookFields(),
         {index("iKodeBuku", {"KDBARANG"}, true), index("iTitle", {"TITLE"}),
          index("iAuthor", {"AUTHOR"}), index("iPublisher", {"PUBLISHER"}),
          index("ilOPNAME", {"CNKLS", "CNRAK", "CNBRS"}), index("iDDC", {"DDC", "UDC", "AUTHOR"}),
          index("iTGPINJAM", {"TGPINJAM"}), index("iTGJANJI", {"TGJANJI"}),
          index("iSTATUS", {"STATUS"}), index("iTGNEW", {"TGNEW"})}},
        {"tTitle", {text("JENIS", 2), text("TITLE", 100)}, {index("iTITLE", {"TITLE"})}},
        {"tAuthor", {text("AUTHOR", 100)}, {index("iAUTHOR", {"AUTHOR"})}},
        {"tPublisher", {text("PUBLISHER", 100)}, {index("iPUBLISHER", {"PUBLISHER"})}},
        {"tUDC", {text("UDC", 1), text("Keterangan", 14)}, {index("iUDC", {"UDC"})}},
        {"tDDC", {text("DDC", 3), text("Keterangan", 120)}, {index("iDDC", {"DDC"})}},
        {"tBAHASA", {text("BAHASA", 14)}, {index("iBAHASA", {"BAHASA"})}},
        {"tANGGOTA",
         member,
         {index("iKDFANGGOTA", {"KDFANGGOTA"}, true), index("iKDFKELUARGA", {"KDFKELUARGA"})}},
        {"tKELUARGA", familyFields(), {index("iKDFKELUARGA", {"KDFKELUARGA"}, true)}},
        {"tKARTU",
         loanFields(),
         {index("iKDBARANG", {"KDBARANG"}), index("iKDFANGGOTA", {"KDFANGGOTA"}),
          index("iTGPINJAM", {"TGPINJAM"}), index("iTGJANJI", {"TGJANJI"})}},
        {"tSEJARAH",
         loanFields(),
         {index("iKDBARANG", {"KDBARANG"}), index("iKDFANGGOTA", {"KDFANGGOTA"}),
          index("iTGPINJAM", {"TGPINJAM"}), index("iTGKEMBALI", {"TGKEMBALI"})}},
        {"tHIBAH", bookFields(),
         {index("iKodeBuku", {"KDBARANG"}), index("iTGHAPUS", {"TGHAPUS"})}},
        {"eDIGITAL", digital,
         {index("KDDIGITAL", {"KDDIGITAL"}, true), index("iTitle", {"TITLE"})}},
        {"eTITLE", {text("JENIS", 2), text("TITLE", 100)}, {index("iTITLE", {"TITLE"})}},
        {"eAUTHOR", {text("AUTHOR", 100)}, {index("iAUTHOR", {"AUTHOR"})}},
        {"ePUBLISHER", {text("PUBLISHER", 100)}, {index("iPUBLISHER", {"PUBLISHER"})}},
    };
}

std::string quoteIdentifier(const std::string& name) { return "\"" + name + "\""; }

}  // namespace

std::string fileNameOf(DatabaseFile file) {
    switch (file) {
        case DatabaseFile::Workstation: return "SETCLT.ABS";
        case DatabaseFile::Users: return "SETSRV.ABS";
        case DatabaseFile::Library: return "TOVIRAK.ABS";
    }
    return {};
}

const std::vector<TableDef>& tablesOf(DatabaseFile file) {
    static const std::vector<TableDef> workstation = workstationTables();
    static const std::vector<TableDef> users = userTables();
    static const std::vector<TableDef> library = libraryTables();
    switch (file) {
        case DatabaseFile::Workstation: return workstation;
        case DatabaseFile::Users: return users;
        case DatabaseFile::Library: break;
    }
    return library;
}

const TableDef* findTableDef(const std::string& name) {
    for (auto file : {DatabaseFile::Workstation, DatabaseFile::Users, DatabaseFile::Library})
        for (const auto& t : tablesOf(file))
            if (core::equalsIgnoreCase(t.name, name)) return &t;
    return nullptr;
}

std::string declaredType(const FieldDef& field) {
    switch (field.type) {
        case FieldType::Text: return "VARCHAR(" + std::to_string(field.width) + ")";
        case FieldType::Char: return "CHAR(" + std::to_string(field.width) + ")";
        case FieldType::Integer: return "INTEGER";
        case FieldType::Float: return "FLOAT";
        case FieldType::Date: return "DATE";
        case FieldType::DateTime: return "TIMESTAMP";
        case FieldType::Blob: return "BLOB";
    }
    return "BLOB";
}

std::optional<FieldDef> fieldFromDeclared(const std::string& name, const std::string& declared) {
    static const std::regex sized(R"(^\s*(VARCHAR|CHAR)\s*\(\s*(\d+)\s*\)\s*$)", std::regex::icase);
    std::smatch m;
    std::string upper = core::asciiUpper(core::trim(declared));
    if (std::regex_match(upper, m, sized)) {
        FieldType t = m[1] == "CHAR" ? FieldType::Char : FieldType::Text;
        return FieldDef{name, t, std::stoi(m[2])};
    }
    if (upper == "INTEGER" || upper == "INT") return FieldDef{name, FieldType::Integer, 0};
    if (upper == "FLOAT" || upper == "REAL" || upper == "DOUBLE")
        return FieldDef{name, FieldType::Float, 0};
    if (upper == "DATE") return FieldDef{name, FieldType::Date, 0};
    if (upper == "TIMESTAMP" || upper == "DATETIME") return FieldDef{name, FieldType::DateTime, 0};
    if (upper == "BLOB") return FieldDef{name, FieldType::Blob, 0};
    if (upper == "TEXT" || upper.empty()) return FieldDef{name, FieldType::Text, 0};
    return std::nullopt;
}

std::vector<std::string> createStatements(const TableDef& table) {
    std::string sql = "CREATE TABLE " + quoteIdentifier(table.name) + " (";
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        const FieldDef& f = table.fields[i];
        if (i) sql += ", ";
        sql += quoteIdentifier(f.name) + " " + declaredType(f);
        switch (f.type) {
            case FieldType::Integer:
            case FieldType::Float: sql += " NOT NULL DEFAULT 0"; break;
            case FieldType::Blob: break;
            default: sql += " NOT NULL DEFAULT ''"; break;
        }
    }
    sql += ")";
    std::vector<std::string> out = {sql};
    for (const IndexDef& idx : table.indexes) {
        std::string s = std::string("CREATE ") + (idx.unique ? "UNIQUE " : "") + "INDEX " +
                        quoteIdentifier(table.name + "." + idx.name) + " ON " +
                        quoteIdentifier(table.name) + " (";
        for (std::size_t i = 0; i < idx.fields.size(); ++i) {
            if (i) s += ", ";
            s += quoteIdentifier(idx.fields[i]);
            if (idx.caseInsensitive) s += " COLLATE NOCASE";
        }
        out.push_back(s + ")");
    }
    return out;
}

}  // namespace store
