#pragma once
// The delivered database layout: the three files, their tables, every field in
// stored order with type and width, and every index. The installation creator
// builds the files from these definitions; the program itself only reads the
// layout back from the files it opens and never creates a table or an index.

#include <optional>
#include <string>
#include <vector>

namespace store {

enum class FieldType { Text, Char, Integer, Float, Date, DateTime, Blob };

struct FieldDef {
    std::string name;
    FieldType type;
    int width = 0;  // characters, for Text and Char; 0 elsewhere
};

struct IndexDef {
    std::string name;
    std::vector<std::string> fields;
    bool unique = false;
    bool caseInsensitive = false;
};

struct TableDef {
    std::string name;
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;
};

enum class DatabaseFile { Workstation, Users, Library };

// SETCLT.ABS, SETSRV.ABS, TOVIRAK.ABS.
std::string fileNameOf(DatabaseFile file);
const std::vector<TableDef>& tablesOf(DatabaseFile file);
// Looks a table up in all three files, without regard to case.
const TableDef* findTableDef(const std::string& name);

// The declared column type written into the file ("VARCHAR(100)", "DATE", ...)
// and the reverse reading of a declared type.
std::string declaredType(const FieldDef& field);
std::optional<FieldDef> fieldFromDeclared(const std::string& name, const std::string& declared);

// CREATE TABLE and CREATE INDEX statements for one table.
std::vector<std::string> createStatements(const TableDef& table);

}  // namespace store
