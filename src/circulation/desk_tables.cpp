#include "circulation/desk_tables.h"

#include "app/data_module.h"
#include "core/text.h"
#include "store/table.h"

namespace circulation {

store::Table& readyTable(app::DataModule& data, const char* objectName, const char* index) {
    store::Table& t = data.openTable(objectName, index);
    if (!core::equalsIgnoreCase(t.indexName(), index)) t.setIndexName(index);
    return t;
}

std::vector<LoanRecord> openLoansOf(app::DataModule& data, const std::string& memberCode) {
    std::vector<LoanRecord> out;
    const std::string code = core::trim(memberCode);
    if (code.empty()) return out;
    store::Table& kartu = readyTable(data, "tbKARTU", "iKDFANGGOTA");
    if (!kartu.findKey({code})) return out;
    while (!kartu.eof() && core::equalsIgnoreCase(core::trim(kartu.asString("KDFANGGOTA")), code)) {
        out.push_back(readLoan(kartu));
        kartu.next();
    }
    return out;
}

void cancelPending(std::initializer_list<store::Table*> tables) {
    for (store::Table* t : tables) {
        try {
            if (t && t->isOpen()) t->cancel();
        } catch (...) {
        }
    }
}

std::vector<LoanRow> loanRows(store::Table& table) {
    std::vector<LoanRow> rows;
    for (table.first(); !table.eof(); table.next())
        rows.push_back({table.rowId(), readLoan(table)});
    return rows;
}

}  // namespace circulation
