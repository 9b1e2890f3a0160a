#include "search/search_statements.h"

#include "core/text.h"
#include "store/sql_dialect.h"

namespace search {

std::string textSearchStatement(std::string_view table, const std::vector<std::string>& fields,
                                Match match, std::string_view typed) {
    std::string statement = "SELECT * FROM " + std::string(table);
    const std::string text = core::asciiUpper(core::trim(typed));
    if (text.empty()) return statement;
    const std::string pattern =
        store::sqlLiteral(match == Match::Contains ? "%" + text + "%" : text);
    for (std::size_t i = 0; i < fields.size(); ++i)
        statement += (i == 0 ? " WHERE " : " or ") + ("UPPER(" + fields[i] + ") like " + pattern);
    return statement;
}

std::string bookSearchStatement(BookSearch search, std::string_view typed) {
    auto contains = [&](std::vector<std::string> fields) {
        return textSearchStatement("tBUKU", fields, Match::Contains, typed);
    };
    switch (search) {
        case BookSearch::Title:
            return contains({"TITLE"});
        case BookSearch::Author:
            return contains({"AUTHOR"});
        case BookSearch::Publisher:
            return contains({"PUBLISHER"});
        case BookSearch::Keyword:
            return contains({"KEYWORD"});
        case BookSearch::ItemCode:
            return textSearchStatement("tBUKU", {"KDBARANG"}, Match::Whole, typed);
        case BookSearch::Combined:
            return contains({"TITLE", "AUTHOR", "PUBLISHER", "KDBARANG", "KEYWORD"});
    }
    return {};
}

BookSearch bookSearchOnEnter(std::string_view typed) {
    return core::startsWith(core::trim(typed), "1") ? BookSearch::ItemCode : BookSearch::Combined;
}

std::string memberSearchStatement(MemberSearch search, std::string_view typed) {
    auto contains = [&](std::vector<std::string> fields) {
        return textSearchStatement("tANGGOTA", fields, Match::Contains, typed);
    };
    switch (search) {
        case MemberSearch::FamilyName:
            return contains({"KDFKELUARGA"});
        case MemberSearch::FamiliarName:
            return contains({"KDFANGGOTA"});
        case MemberSearch::FullName:
            return contains({"NMANGGOTA"});
        case MemberSearch::Address:
            return contains({"ALAMAT"});
        case MemberSearch::MemberCode:
            return textSearchStatement("tANGGOTA", {"KDFANGGOTA"}, Match::Whole, typed);
        case MemberSearch::Combined:
            return contains({"KDFKELUARGA", "KDFANGGOTA", "NMANGGOTA", "ALAMAT"});
    }
    return {};
}

MemberSearch memberSearchOnEnter(std::string_view) { return MemberSearch::MemberCode; }

}  // namespace search
