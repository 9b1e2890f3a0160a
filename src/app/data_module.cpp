#include "app/data_module.h"

#include "core/error.h"
#include "core/text.h"

namespace app {

namespace {

std::vector<std::string> allFieldsExcept(const char* table, std::vector<std::string> excluded) {
    std::vector<std::string> out;
    for (const auto& f : store::findTableDef(table)->fields) {
        bool skip = false;
        for (const auto& e : excluded) skip = skip || core::equalsIgnoreCase(e, f.name);
        if (!skip) out.push_back(f.name);
    }
    return out;
}

}  // namespace

DataModule::DataModule() {
    dbSETCLT.setPassword(kDefaultPassword);
    dbSETSRV.setPassword(kDefaultPassword);
    dbTOVIRAK.setPassword(kDefaultPassword);
    dbTOVIRAK.setMultiUser(true);

    struct T {
        const char* object;
        store::Connection* db;
        const char* table;
    };
    for (const T& t : std::initializer_list<T>{
             {"tbSISTEM", &dbSETCLT, "SISTEM"},      {"tbCetakLabel", &dbSETCLT, "tCetakLabel"},
             {"tbCetakAnggota", &dbSETCLT, "tCetakMember"}, {"tbKARTUb", &dbSETCLT, "tKARTUb"},
             {"tbKARTUr", &dbSETCLT, "tKARTUr"},     {"tbHIBAHt", &dbSETCLT, "tHIBAHt"},
             {"tbUSER", &dbSETSRV, "USER"},          {"tbUMUM", &dbSETSRV, "umum"},
             {"tbBUKU", &dbTOVIRAK, "tBUKU"},        {"tbTITLE", &dbTOVIRAK, "tTitle"},
             {"tbAuthor", &dbTOVIRAK, "tAuthor"},    {"tbPublisher", &dbTOVIRAK, "tPublisher"},
             {"tbUDC", &dbTOVIRAK, "tUDC"},          {"tbDDC", &dbTOVIRAK, "tDDC"},
             {"tbBAHASA", &dbTOVIRAK, "tBAHASA"},    {"tbANGGOTA", &dbTOVIRAK, "tANGGOTA"},
             {"tbKELUARGA", &dbTOVIRAK, "tKELUARGA"}, {"tbKARTU", &dbTOVIRAK, "tKARTU"},
             {"tbSEJARAH", &dbTOVIRAK, "tSEJARAH"},  {"tbHIBAH", &dbTOVIRAK, "tHIBAH"},
             {"tbDIGITAL", &dbTOVIRAK, "eDIGITAL"},  {"tbeTITLE", &dbTOVIRAK, "eTITLE"},
             {"tbeAuthor", &dbTOVIRAK, "eAUTHOR"},   {"tbePublisher", &dbTOVIRAK, "ePUBLISHER"}})
        m_tables.emplace(t.object, std::make_unique<store::Table>(*t.db, t.table, t.object));

    const std::vector<std::string> loanFields = allFieldsExcept("tKARTU", {});
    struct Q {
        const char* object;
        const char* sql;
        std::vector<std::string> fields;
    };
    for (const Q& q : std::initializer_list<Q>{
             {"tqBUKU", "SELECT * FROM tBUKU", allFieldsExcept("tBUKU", {"KDPETUGASH", "TGHAPUS"})},
             {"tqTitle", "SELECT * FROM tTitle", {"TITLE"}},
             {"tqAuthor", "SELECT * FROM tAuthor", {"AUTHOR"}},
             {"tqPublisher", "SELECT * FROM tPublisher", {"PUBLISHER"}},
             {"tqUDC", "SELECT * FROM tUDC", {"UDC", "Keterangan"}},
             {"tqDDC", "SELECT * FROM tDDC", {"DDC", "Keterangan"}},
             {"tqBAHASA", "SELECT * FROM tBAHASA", {"BAHASA"}},
             {"tqANGGOTA", "SELECT * FROM tANGGOTA", allFieldsExcept("tANGGOTA", {})},
             {"tqKELUARGA", "SELECT * FROM tKELUARGA", allFieldsExcept("tKELUARGA", {})},
             {"tqKARTU", "SELECT * FROM tKARTU", loanFields},
             {"tqSEJARAH", "SELECT * FROM tKARTU", loanFields},
             {"tqDIGITAL", "SELECT * FROM eDIGITAL",
              {"JENIS", "LI", "SIMPANFILE", "KDDIGITAL", "EA", "TITLE", "AUTHOR", "PUBLISHER",
               "KEYWORD", "USIA", "GAMBAR", "BAHASA"}},
             {"tqeTitle", "SELECT * FROM tTitle", {"TITLE"}},
             {"tqeAuthor", "SELECT * FROM tAuthor", {"AUTHOR"}},
             {"tqePublisher", "SELECT * FROM tPublisher", {"PUBLISHER"}}})
        m_queries.emplace(q.object, std::make_unique<store::Query>(dbTOVIRAK, q.object, q.sql, q.fields));
}

store::Table& DataModule::table(std::string_view objectName) {
    auto it = m_tables.find(objectName);
    if (it == m_tables.end()) throw core::Error("No table object named " + std::string(objectName));
    return *it->second;
}

store::Query& DataModule::query(std::string_view objectName) {
    auto it = m_queries.find(objectName);
    if (it == m_queries.end()) throw core::Error("No query object named " + std::string(objectName));
    return *it->second;
}

bool DataModule::hasTable(std::string_view objectName) const { return m_tables.count(objectName) > 0; }

std::vector<std::string> DataModule::tableObjectNames() const {
    std::vector<std::string> out;
    for (const auto& [name, _] : m_tables) out.push_back(name);
    return out;
}

std::vector<std::string> DataModule::queryObjectNames() const {
    std::vector<std::string> out;
    for (const auto& [name, _] : m_queries) out.push_back(name);
    return out;
}

std::string DataModule::dataSourceTarget(std::string_view ds) {
    if (ds == "dstBUKU") return "tbDIGITAL";
    if (ds == "dsqSEJARAH") return "tbSEJARAH";
    if (ds == "dsSETCLT") return "tbSISTEM";
    if (ds == "dsSETSRV") return "tbUSER";
    if (ds == "dsUMUM") return "tbUMUM";
    if (ds.substr(0, 3) == "dst") return "tb" + std::string(ds.substr(3));
    if (ds.substr(0, 3) == "dsq") return "tq" + std::string(ds.substr(3));
    return {};
}

void DataModule::ensureLibraryConnected() {
    if (dbTOVIRAK.isOpen()) return;
    dbTOVIRAK.setPassword(kDefaultPassword);
    dbTOVIRAK.setMultiUser(true);
    dbTOVIRAK.open();
}

store::Table& DataModule::openTable(std::string_view objectName, const std::string& indexName) {
    store::Table& t = table(objectName);
    if (!t.isOpen()) {
        t.setIndexName(indexName);
        t.open();
    }
    return t;
}

}  // namespace app
