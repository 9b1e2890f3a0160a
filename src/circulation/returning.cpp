#include "circulation/returning.h"

#include "app/data_module.h"
#include "circulation/desk_tables.h"
#include "circulation/loan_record.h"
#include "circulation/loan_rules.h"
#include "core/text.h"
#include "store/connection.h"
#include "store/sql_dialect.h"
#include "store/table.h"

namespace circulation {

namespace {

// A row of the open-loan view: on loan, not returned, no lateness.
void addOpenLoanRow(store::Table& open, LoanRecord row) {
    row.status = kLoanOpen;
    row.takenBackBy.clear();
    row.returned = core::DateTime();
    row.daysLate = 0;
    row.amount = 0;
    open.insert();
    writeLoan(open, row);
    open.post();
}

// The open loan of this copy for this member in tKARTU becomes current;
// false when there is none.
bool findOpenLoan(store::Table& kartu, const std::string& itemCode, const std::string& memberCode) {
    const std::string code = core::asciiUpper(core::trim(itemCode));
    if (code.empty() || !kartu.findKey({code})) return false;
    for (; !kartu.eof() && core::equalsIgnoreCase(core::trim(kartu.asString("KDBARANG")), code);
         kartu.next()) {
        if (isOnLoan(kartu.asString("STATUS")) &&
            core::equalsIgnoreCase(core::trim(kartu.asString("KDFANGGOTA")),
                                   core::trim(memberCode)))
            return true;
    }
    return false;
}

}  // namespace

StagingLoad loadReturnView(app::DataModule& data, const Member& member) {
    StagingLoad load;
    store::Table& open = readyTable(data, "tbKARTUb", "iKDBARANG");
    store::Table& staged = readyTable(data, "tbKARTUr", "iKDBARANG");
    const bool openEmptied = emptyStaging(open);
    const bool stagedEmptied = emptyStaging(staged);
    open.setIndexName("iKDBARANG");
    staged.setIndexName("iKDBARANG");
    if (!openEmptied || !stagedEmptied) {
        load.emptied = false;
        load.rows = open.recordCount();
        return load;
    }
    load.rows = fillOpenLoanView(data, member, ViewClass::Loan);
    return load;
}

std::int64_t openLoanCount(app::DataModule& data) {
    return readyTable(data, "tbKARTUb", "iKDBARANG").recordCount();
}

std::int64_t stagedReturnCount(app::DataModule& data) {
    return readyTable(data, "tbKARTUr", "iKDBARANG").recordCount();
}

std::string notBorrowedMessage(const std::string& memberBox, const std::string& code) {
    return memberBox + " seem not borrow\r" + code +
           "\rplease double check!\rPerhaps allready in the temporary to return.";
}

TakeBackOutcome takeBack(app::DataModule& data, const core::Clock& clock, const std::string& user,
                         const Member& member, const std::string& typedCode) {
    TakeBackOutcome out;
    const std::string code = core::trim(typedCode);
    if (code.empty()) return out;
    store::Table& open = readyTable(data, "tbKARTUb", "iKDBARANG");
    store::Table& staged = readyTable(data, "tbKARTUr", "iKDBARANG");
    if (!open.findKey({code})) {
        out.message = notBorrowedMessage(member.code, code);
        return out;
    }
    const long long openRow = open.rowId();
    const LoanRecord loan = readLoan(open);
    const core::DateTime now = clock.now();
    out.penalty = penaltyFor(loan.due, now, loan.rate);

    LoanRecord row = loan;
    row.written = now;
    row.itemCode = core::trim(loan.itemCode);
    row.takenBackBy = user;
    row.memberClass = member.memberClass;
    row.returned = now;
    row.status = kLoanReturned;
    row.daysLate = out.penalty.days;
    row.rate = out.penalty.rate;
    row.amount = out.penalty.amount;

    store::Transaction tx(data.dbSETCLT);
    try {
        staged.insert();
        writeLoan(staged, row);
        staged.post();
        if (open.gotoRowId(openRow)) open.remove();
        tx.commit();
    } catch (...) {
        cancelPending({&open, &staged});
        throw;
    }
    out.staged = true;
    return out;
}

bool putBack(app::DataModule& data, const core::Clock& clock, long long stagedRowId) {
    store::Table& open = readyTable(data, "tbKARTUb", "iKDBARANG");
    store::Table& staged = readyTable(data, "tbKARTUr", "iKDBARANG");
    if (!staged.gotoRowId(stagedRowId)) return false;
    const LoanRecord r = readLoan(staged);

    // A return staged on time carries no rate; the loan still has its own.
    double rate = 0;
    store::Table& kartu = readyTable(data, "tbKARTU", "iKDBARANG");
    if (findOpenLoan(kartu, r.itemCode, r.memberCode)) rate = kartu.asFloat("DENDA");

    LoanRecord row = r;
    row.written = clock.now();
    row.rate = rate;
    store::Transaction tx(data.dbSETCLT);
    try {
        addOpenLoanRow(open, row);
        if (staged.gotoRowId(stagedRowId)) staged.remove();
        tx.commit();
    } catch (...) {
        cancelPending({&open, &staged});
        throw;
    }
    return true;
}

void putBackAll(app::DataModule& data, const core::Clock& clock) {
    store::Table& staged = readyTable(data, "tbKARTUr", "iKDBARANG");
    for (const LoanRow& row : loanRows(staged)) putBack(data, clock, row.rowId);
}

double stagedPenaltyTotal(app::DataModule& data) {
    double total = 0;
    for (const LoanRow& row : loanRows(readyTable(data, "tbKARTUr", "iKDBARANG")))
        total += row.loan.amount;
    return total;
}

namespace {

enum class ReturnResult { Posted, Dropped };

// One return closed as one unit of work on the library database.
ReturnResult returnOne(app::DataModule& data, const core::Clock& clock, const std::string& user,
                       const LoanRecord& staged, const std::string& memberCode) {
    store::Transaction tx(data.dbTOVIRAK);
    store::Table& kartu = readyTable(data, "tbKARTU", "iKDBARANG");
    store::Table& sejarah = readyTable(data, "tbSEJARAH", "iKDBARANG");
    store::Table& buku = readyTable(data, "tbBUKU", "iKodeBuku");
    store::Table& anggota = readyTable(data, "tbANGGOTA", "iKDFANGGOTA");
    if (!findOpenLoan(kartu, staged.itemCode, staged.memberCode)) return ReturnResult::Dropped;
    const core::DateTime now = clock.now();
    const std::string code = core::asciiUpper(core::trim(staged.itemCode));

    kartu.edit();
    kartu.setString("STATUS", kLoanReturned);
    kartu.setString("KDPETUGASR", user);
    kartu.setDateTime("TGKEMBALI", now);
    kartu.setInteger("DENDAHARI", staged.daysLate);
    kartu.setFloat("DENDA", staged.rate);
    kartu.setFloat("DENDAPAID", staged.amount);
    kartu.setString("INFO", staged.info);
    kartu.post();
    const long long loanRow = kartu.rowId();

    LoanRecord history = staged;
    history.written = now;
    history.status = kLoanReturned;
    sejarah.insert();
    writeLoan(sejarah, history);
    sejarah.post();

    if (buku.findKey({code})) {
        buku.edit();
        buku.setString("STATUS", kCopyAvailable);
        buku.setDateTime("TGKEMBALI", staged.returned);
        buku.setString("KDPETUGASR", core::trim(staged.takenBackBy));
        buku.post();
    }

    kartu.setIndexName("iKDBARANG");
    if (kartu.gotoRowId(loanRow)) kartu.remove();

    const std::string member = core::asciiUpper(core::trim(memberCode));
    std::int64_t stillOpen = 0;
    for (const LoanRecord& loan : openLoansOf(data, member))
        if (isOnLoan(loan.status)) ++stillOpen;
    if (anggota.findKey({member})) {
        anggota.edit();
        anggota.setInteger("JLHPINJAM", stillOpen);
        anggota.post();
    }
    tx.commit();
    return ReturnResult::Posted;
}

}  // namespace

std::string PostOutcome::message() const {
    if (dropped.empty()) return {};
    std::string text =
        "These books were not taken back, they are no longer on loan to this member:";
    for (const auto& line : dropped) text += "\r" + line;
    return text;
}

PostOutcome postReturns(app::DataModule& data, const core::Clock& clock, const std::string& user,
                        const std::string& memberCode) {
    PostOutcome out;
    store::Table& staged = readyTable(data, "tbKARTUr", "iKDBARANG");
    for (const LoanRow& row : loanRows(staged)) {
        try {
            if (returnOne(data, clock, user, row.loan, memberCode) == ReturnResult::Posted)
                ++out.posted;
            else
                out.dropped.push_back(core::trim(row.loan.itemCode) + " " +
                                      core::trim(row.loan.title));
            staged.setIndexName("iKDBARANG");
            if (staged.gotoRowId(row.rowId)) staged.remove();
        } catch (const std::exception& e) {
            cancelPending({&data.table("tbKARTU"), &data.table("tbSEJARAH"), &data.table("tbBUKU"),
                           &data.table("tbANGGOTA"), &staged});
            out.error = e.what();
            break;
        }
    }
    return out;
}

std::string borrowHistoryStatement(const std::string& memberBox) {
    return "SELECT * FROM tSEJARAH WHERE KDFANGGOTA = " + store::sqlLiteral(core::trim(memberBox));
}

std::string returnHistoryStatement(const std::string& memberBox) {
    return "SELECT * FROM tSEJARAH WHERE KDFANGGOTA=" +
           store::sqlLiteral(core::asciiUpper(core::trim(memberBox)));
}

bool deleteHistoryRow(app::DataModule& data, long long rowId) {
    store::Table& sejarah = readyTable(data, "tbSEJARAH", "iKDBARANG");
    if (!sejarah.gotoRowId(rowId)) return false;
    sejarah.remove();
    return true;
}

}  // namespace circulation
