#include "store/sql_dialect.h"

#include <optional>

#include "core/date_time.h"
#include "core/error.h"
#include "core/text.h"
#include "store/connection.h"

namespace store {

namespace {

enum class Tok { Identifier, String, Number, Symbol, End };

struct Token {
    Tok kind;
    std::string text;  // identifier as written, literal contents, digits or symbol
    std::size_t pos;
};

[[noreturn]] void refuse(const std::string& why, std::string_view statement) {
    throw core::Error("Invalid SQL statement (" + why + "):\r" + std::string(statement));
}

std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> out;
    std::size_t i = 0;
    auto isIdentStart = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    auto isIdentChar = [&](char c) { return isIdentStart(c) || (c >= '0' && c <= '9'); };
    while (i < s.size()) {
        char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
        } else if (isIdentStart(c)) {
            std::size_t b = i;
            while (i < s.size() && isIdentChar(s[i])) ++i;
            out.push_back({Tok::Identifier, std::string(s.substr(b, i - b)), b});
        } else if (c >= '0' && c <= '9') {
            std::size_t b = i;
            while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
            if (i < s.size() && isIdentChar(s[i])) refuse("malformed number", s);
            out.push_back({Tok::Number, std::string(s.substr(b, i - b)), b});
        } else if (c == '"' || c == '\'') {
            std::size_t b = i++;
            std::string text;
            bool closed = false;
            while (i < s.size()) {
                if (s[i] == c) {
                    if (i + 1 < s.size() && s[i + 1] == c) {
                        text += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                text += s[i++];
            }
            if (!closed) refuse("unterminated string literal", s);
            out.push_back({Tok::String, std::move(text), b});
        } else if (c == '<' && i + 1 < s.size() && s[i + 1] == '>') {
            out.push_back({Tok::Symbol, "<>", i});
            i += 2;
        } else if (c == '=' || c == '(' || c == ')' || c == '*' || c == ',' || c == ';') {
            out.push_back({Tok::Symbol, std::string(1, c), i});
            ++i;
        } else {
            refuse(std::string("unexpected character '") + c + "'", s);
        }
    }
    out.push_back({Tok::End, "", s.size()});
    return out;
}

// What an operand turned out to be, to decide how comparisons compile.
struct Operand {
    std::string sql;
    // Set for SUBSTRING(UPPER(field) FROM 1 FOR n): the field.
    const FieldDef* prefixOf = nullptr;
    // Set for UPPER(field): the field.
    const FieldDef* upperOf = nullptr;
    const FieldDef* bareField = nullptr;  // set for a plain field reference
    std::optional<std::string> literal;   // set for a string literal
};

class Parser {
public:
    Parser(std::string_view text, const TableDef* table) : m_text(text), m_tokens(tokenize(text)), m_table(table) {}

    void setTable(const TableDef* table) { m_table = table; }
    std::string_view text() const { return m_text; }

    const Token& peek() const { return m_tokens[m_at]; }
    Token take() { return m_tokens[m_at++]; }

    bool isKeyword(const char* word) const {
        return peek().kind == Tok::Identifier && core::equalsIgnoreCase(peek().text, word);
    }
    bool isSymbol(const char* sym) const { return peek().kind == Tok::Symbol && peek().text == sym; }

    void expectKeyword(const char* word) {
        if (!isKeyword(word)) fail(std::string("expected ") + word);
        take();
    }
    void expectSymbol(const char* sym) {
        if (!isSymbol(sym)) fail(std::string("expected \"") + sym + "\"");
        take();
    }
    std::string expectIdentifier(const char* what) {
        if (peek().kind != Tok::Identifier) fail(std::string("expected ") + what);
        return take().text;
    }
    [[noreturn]] void fail(const std::string& why) const {
        std::string near = peek().kind == Tok::End ? "end of statement" : "\"" + peek().text + "\"";
        refuse(why + " near " + near, m_text);
    }
    void expectEnd() {
        if (isSymbol(";")) take();
        if (peek().kind != Tok::End) fail("unexpected text after the statement");
    }

    const FieldDef& field(const std::string& name) const {
        for (const auto& f : m_table->fields)
            if (core::equalsIgnoreCase(f.name, name)) return f;
        throw core::Error("Field '" + name + "' not found in table " + m_table->name);
    }

    CompiledCondition condition() {
        CompiledCondition c;
        c.sql = orExpr(c.params);
        return c;
    }

private:
    std::string orExpr(std::vector<Value>& params) {
        std::string sql = andExpr(params);
        while (isKeyword("OR")) {
            take();
            m_sawOr = true;
            sql += " OR " + andExpr(params);
        }
        return sql;
    }
    std::string andExpr(std::vector<Value>& params) {
        std::string sql = primary(params);
        while (isKeyword("AND")) {
            take();
            sql += " AND " + primary(params);
        }
        return sql;
    }
    std::string primary(std::vector<Value>& params) {
        if (isSymbol("(")) {
            // A parenthesis opens either a nested condition or nothing else:
            // operands never start with one.
            take();
            std::string inner = orExpr(params);
            expectSymbol(")");
            return "(" + inner + ")";
        }
        return comparison(params);
    }
    std::string comparison(std::vector<Value>& params) {
        std::vector<Value> leftParams, rightParams;
        Operand left = operand(leftParams);
        std::string op;
        if (isSymbol("=") || isSymbol("<>")) {
            op = take().text;
        } else if (isKeyword("LIKE")) {
            take();
            op = "LIKE";
        } else {
            fail("expected =, <> or LIKE");
        }
        Operand right = operand(rightParams);
        // A date-time field compared with a date alone compares the date part.
        auto datePart = [](Operand& fieldSide, const Operand& other) {
            if (fieldSide.bareField && fieldSide.bareField->type == FieldType::DateTime &&
                other.literal && other.literal->size() == 10)
                fieldSide.sql = "substr(" + fieldSide.sql + ",1,10)";
        };
        datePart(left, right);
        datePart(right, left);
        if (op == "LIKE" && left.upperOf && right.literal && isPlainText(*right.literal)) {
            if (caseInsensitiveIndexOn(*left.upperOf)) {
                // UPPER(F) LIKE "X" without wildcards is F equal to X ignoring
                // the case of a-z, which the case-insensitive index answers
                // (a scanned item code finds its copy at once).
                params.insert(params.end(), rightParams.begin(), rightParams.end());
                return quoteIdentifier(left.upperOf->name) + " = ? COLLATE NOCASE";
            }
        }
        if (op == "=" && left.prefixOf && right.literal && !right.literal->empty())
            return prefixRange(*left.prefixOf, left.sql, *right.literal, rightParams, params);
        if (op == "=" && right.prefixOf && left.literal && !left.literal->empty())
            return prefixRange(*right.prefixOf, right.sql, *left.literal, leftParams, params);
        params.insert(params.end(), leftParams.begin(), leftParams.end());
        params.insert(params.end(), rightParams.begin(), rightParams.end());
        return left.sql + " " + op + " " + right.sql;
    }
    const IndexDef* caseInsensitiveIndexOn(const FieldDef& field) const {
        for (const auto& idx : m_table->indexes)
            if (idx.caseInsensitive && !idx.fields.empty() && core::equalsIgnoreCase(idx.fields[0], field.name))
                return &idx;
        return nullptr;
    }
    static bool isPlainText(const std::string& pattern) {
        return !pattern.empty() && pattern.find_first_of("%_") == std::string::npos;
    }
    // SUBSTRING(UPPER(F) FROM 1 FOR n) = "X" keeps only rows whose F begins
    // with X, ignoring the case of a-z. On a field with a case-insensitive
    // index the range [X, X with its last byte raised) under that collation
    // holds all of them, so the range is added for the engine to walk the
    // index; the exact condition still decides.
    std::string prefixRange(const FieldDef& field, const std::string& exactSql, const std::string& literal,
                            const std::vector<Value>& literalParams, std::vector<Value>& params) {
        const IndexDef* index = caseInsensitiveIndexOn(field);
        std::string low = core::asciiLower(literal);
        if (!index || static_cast<unsigned char>(low.back()) == 0xFF) {
            params.insert(params.end(), literalParams.begin(), literalParams.end());
            return exactSql + " = ?";
        }
        std::string high = low;
        high.back() = static_cast<char>(static_cast<unsigned char>(high.back()) + 1);
        const std::string f = quoteIdentifier(field.name);
        params.emplace_back(low);
        params.emplace_back(high);
        params.insert(params.end(), literalParams.begin(), literalParams.end());
        if (m_prefixField.empty()) m_prefixField = field.name;
        return "(" + f + " >= ? COLLATE NOCASE AND " + f + " < ? COLLATE NOCASE AND " + exactSql + " = ?)";
    }
    Operand operand(std::vector<Value>& params) {
        Operand o;
        if (peek().kind == Tok::String) {
            o.literal = take().text;
            params.emplace_back(*o.literal);
            o.sql = "?";
        } else if (peek().kind == Tok::Number) {
            params.emplace_back(wholeNumber(18));
            o.sql = "?";
        } else if (isKeyword("UPPER")) {
            take();
            expectSymbol("(");
            o.sql = "upper(" + fieldRef(expectIdentifier("a field name")) + ")";
            o.upperOf = m_lastField;
            expectSymbol(")");
        } else if (isKeyword("SUBSTRING")) {
            take();
            expectSymbol("(");
            expectKeyword("UPPER");
            expectSymbol("(");
            std::string f = fieldRef(expectIdentifier("a field name"));
            expectSymbol(")");
            expectKeyword("FROM");
            std::string from = std::to_string(wholeNumber(9));
            expectKeyword("FOR");
            std::string length = std::to_string(wholeNumber(9));
            expectSymbol(")");
            o.sql = "substr(upper(" + f + ")," + from + "," + length + ")";
            if (from == "1") o.prefixOf = m_lastField;
        } else if (peek().kind == Tok::Identifier && !isReserved()) {
            const FieldDef& f = field(take().text);
            o.bareField = &f;
            o.sql = quoteIdentifier(f.name);
        } else {
            fail("expected a field, a function or a literal");
        }
        return o;
    }
    // A whole number of at most maxDigits digits (18 always fits 64 bits), so
    // that a long run of digits is refused as text of the dialect rather than
    // overflowing the conversion.
    std::int64_t wholeNumber(std::size_t maxDigits) {
        if (peek().kind != Tok::Number) fail("expected a whole number");
        std::string digits = peek().text;
        std::size_t leading = digits.find_first_not_of('0');
        digits = leading == std::string::npos ? "0" : digits.substr(leading);
        if (digits.size() > maxDigits) fail("number too large");
        take();
        return std::stoll(digits);
    }
    std::string fieldRef(const std::string& name) {
        m_lastField = &field(name);
        return quoteIdentifier(m_lastField->name);
    }
    bool isReserved() const {
        for (const char* w : {"AND", "OR", "LIKE", "SELECT", "FROM", "WHERE", "UPDATE", "SET",
                              "FOR", "NOT", "ORDER", "BY", "UNION", "DELETE", "INSERT", "DROP"})
            if (isKeyword(w)) return true;
        return false;
    }

public:
    // The field whose order the rows may follow (see prefixRange); empty when
    // there is none or the condition has an OR.
    std::string orderField() const { return m_sawOr ? std::string() : m_prefixField; }

private:
    std::string_view m_text;
    std::vector<Token> m_tokens;
    const FieldDef* m_lastField = nullptr;
    std::string m_prefixField;
    bool m_sawOr = false;
    std::size_t m_at = 0;
    const TableDef* m_table;
};

// The value an UPDATE stores, in the field's own type, as a table object
// would store typed text: cut to a text field's width, converted for number
// and date fields (core::Error when it is no number or date, so that no row
// is left holding text its readers cannot convert).
Value storedValue(const FieldDef& f, const std::string& text, std::string_view statement) {
    switch (f.type) {
        case FieldType::Integer: return core::toInteger(text);
        case FieldType::Float: return core::toNumber(text);
        case FieldType::Date:
            return core::trim(text).empty() ? std::string() : core::DateTime::fromText(text).toDateText();
        case FieldType::DateTime:
            return core::trim(text).empty() ? std::string()
                                            : core::DateTime::fromText(text).toDateTimeText();
        case FieldType::Blob: refuse("a picture field cannot be set", statement);
        default:
            return f.width > 0 ? core::cutToWidth(text, static_cast<std::size_t>(f.width)) : text;
    }
}

const TableDef& lookupTable(const Connection& connection, const std::string& name) {
    const TableDef* t = connection.tableLayout(name);
    if (!t) throw core::Error("Table '" + name + "' does not exist in " + connection.fileName());
    return *t;
}

}  // namespace

std::string sqlLiteral(std::string_view text) {
    return "\"" + core::replaceAll(std::string(text), "\"", "\"\"") + "\"";
}

std::string quoteIdentifier(std::string_view name) {
    return "\"" + core::replaceAll(std::string(name), "\"", "\"\"") + "\"";
}

CompiledStatement compileStatement(std::string_view text, const Connection& connection) {
    Parser p(text, nullptr);
    CompiledStatement out;
    if (p.isKeyword("SELECT")) {
        p.take();
        p.expectSymbol("*");
        p.expectKeyword("FROM");
        out.table = &lookupTable(connection, p.expectIdentifier("a table name"));
        p.setTable(out.table);
        if (p.isKeyword("WHERE")) {
            p.take();
            out.where = p.condition();
        }
        p.expectEnd();
        out.orderField = p.orderField();
        return out;
    }
    if (p.isKeyword("UPDATE")) {
        p.take();
        out.kind = CompiledStatement::Kind::Update;
        out.table = &lookupTable(connection, p.expectIdentifier("a table name"));
        p.setTable(out.table);
        p.expectKeyword("SET");
        const FieldDef& set = p.field(p.expectIdentifier("a field name"));
        p.expectSymbol("=");
        if (p.peek().kind != Tok::String) p.fail("expected a string literal");
        std::string value = p.take().text;
        p.expectKeyword("WHERE");
        const FieldDef& where = p.field(p.expectIdentifier("a field name"));
        if (!core::equalsIgnoreCase(where.name, set.name))
            p.fail("UPDATE may only select rows by the field it sets");
        p.expectSymbol("=");
        if (p.peek().kind != Tok::String) p.fail("expected a string literal");
        std::string old = p.take().text;
        p.expectEnd();
        out.setField = set.name;
        out.setValue = storedValue(set, value, text);
        out.where.sql = quoteIdentifier(where.name) + " = ?";
        out.where.params = {old};
        return out;
    }
    p.fail("only SELECT * FROM and UPDATE statements are supported");
}

CompiledCondition compileCondition(std::string_view text, const TableDef& table) {
    if (core::trim(text).empty()) return {};
    Parser p(text, &table);
    CompiledCondition c = p.condition();
    p.expectEnd();
    return c;
}

}  // namespace store
