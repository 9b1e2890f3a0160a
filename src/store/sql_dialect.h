#pragma once
// The program's small SQL dialect and its compiler into backend SQL.
//
// Statements the program writes:
//   SELECT * FROM table [WHERE condition]
//   UPDATE table SET field="value" WHERE field="value"   (one field, the same in both)
// Conditions join comparisons with AND / OR (either case) and parentheses.
// A comparison is operand (= | <> | LIKE) operand, where an operand is a
// field, UPPER(field), SUBSTRING(UPPER(field) FROM n FOR m), a string literal
// or a whole number. String literals are enclosed in double quotes (single
// quotes are read too, for table filters); a quote inside a literal is
// written twice. Every literal becomes a bound parameter of the backend
// statement, so the text inside a literal can never change the statement.
// Anything outside this dialect is refused with core::Error.

#include <string>
#include <string_view>
#include <vector>

#include "store/schema.h"
#include "store/value.h"

namespace store {

class Connection;

// A string literal of the dialect holding `text` exactly: double quotes
// around it, every double quote inside doubled. Windows build statements
// with this, never by pasting typed text between quotes themselves.
std::string sqlLiteral(std::string_view text);

struct CompiledCondition {
    std::string sql;  // backend SQL, empty when there is no condition
    std::vector<Value> params;
};

struct CompiledStatement {
    enum class Kind { Select, Update };
    Kind kind = Kind::Select;
    const TableDef* table = nullptr;  // layout as stored in the file
    CompiledCondition where;
    // Update only: the field set and its value in the field's type (text cut
    // to the width; text that is no number or date for such a field is refused).
    std::string setField;
    Value setValue;
    // Select only: a prefix condition on a field with a case-insensitive
    // index, not under an OR. The rows come in that field's order and the
    // condition is answered from the index.
    std::string orderField;
};

// Compiles a whole statement against the tables of `connection`.
CompiledStatement compileStatement(std::string_view text, const Connection& connection);

// Compiles a condition alone (a table filter) against one table's layout.
CompiledCondition compileCondition(std::string_view text, const TableDef& table);

// Quotes a backend identifier.
std::string quoteIdentifier(std::string_view name);

}  // namespace store
