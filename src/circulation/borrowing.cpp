#include "circulation/borrowing.h"

#include "app/data_module.h"
#include "circulation/desk_tables.h"
#include "circulation/loan_record.h"
#include "circulation/loan_rules.h"
#include "core/error.h"
#include "core/text.h"
#include "store/connection.h"
#include "store/table.h"

namespace circulation {

void openDeskTables(app::DataModule& data) {
    data.ensureLibraryConnected();
    data.openTable("tbANGGOTA", "iKDFANGGOTA");
    data.openTable("tbBUKU", "iKodeBuku");
    data.openTable("tbKARTU", "iKDBARANG");
    data.openTable("tbSEJARAH", "iKDBARANG");
    data.openTable("tbKARTUb", "iKDBARANG");
    data.openTable("tbKARTUr", "iKDBARANG");
}

std::string Member::penaltyText() const { return core::formatAmount(penaltyRate); }

std::optional<Member> findMember(app::DataModule& data, const std::string& typed) {
    const std::string code = core::asciiUpper(core::trim(typed));
    if (code.empty()) return std::nullopt;
    store::Table& t = readyTable(data, "tbANGGOTA", "iKDFANGGOTA");
    if (!t.findKey({code})) return std::nullopt;
    Member m;
    m.code = core::trim(t.asString("KDFANGGOTA"));
    m.family = core::trim(t.asString("KDFKELUARGA"));
    m.name = t.asString("NMANGGOTA");
    m.address = t.asString("ALAMAT");
    m.phone = t.asString("TELP");
    m.mobile = t.asString("HP");
    m.email = t.asString("EMAIL");
    m.web = t.asString("WEB");
    m.memberClass = core::trim(t.asString("KELAS"));
    m.onLoan = t.asInteger("JLHPINJAM");
    m.maxBorrow = t.asInteger("MAXPINJAM");
    m.limitDays = t.asInteger("LAMAPINJAM");
    m.penaltyRate = t.asFloat("DENDA");
    return m;
}

std::string memberNotFoundMessage(const std::string& trimmedText) {
    return "[" + trimmedText + "] not found, please.. select from the Grid.";
}

std::optional<Copy> findCopy(app::DataModule& data, const std::string& code) {
    const std::string c = core::trim(code);
    if (c.empty()) return std::nullopt;
    store::Table& t = readyTable(data, "tbBUKU", "iKodeBuku");
    if (!t.findKey({c})) return std::nullopt;
    Copy copy;
    copy.code = core::trim(t.asString("KDBARANG"));
    copy.title = t.asString("TITLE");
    copy.author = t.asString("AUTHOR");
    copy.publisher = t.asString("PUBLISHER");
    copy.status = t.asString("STATUS");
    copy.borrower = t.asString("KDFANGGOTA");
    copy.borrowed = t.asDateTime("TGPINJAM");
    copy.due = t.asDateTime("TGJANJI");
    return copy;
}

std::int64_t borrowStagingCount(app::DataModule& data) {
    return readyTable(data, "tbKARTUb", "iKDBARANG").recordCount();
}

bool isStagedForBorrow(app::DataModule& data, const std::string& code) {
    const std::string c = core::trim(code);
    return !c.empty() && readyTable(data, "tbKARTUb", "iKDBARANG").findKey({c});
}

std::int64_t fillOpenLoanView(app::DataModule& data, const Member& member, ViewClass viewClass) {
    store::Table& view = readyTable(data, "tbKARTUb", "iKDBARANG");
    const std::vector<LoanRecord> loans = openLoansOf(data, member.code);
    store::Transaction tx(data.dbSETCLT);
    try {
        for (const LoanRecord& loan : loans) {
            LoanRecord row;
            row.written = loan.written;
            row.itemCode = loan.itemCode;
            row.title = loan.title;
            row.author = loan.author;
            row.publisher = loan.publisher;
            row.memberCode = member.code;
            row.memberName = loan.memberName;
            row.familyCode = member.family;
            row.memberClass =
                viewClass == ViewClass::Member ? member.memberClass : loan.memberClass;
            row.lentBy = loan.lentBy;
            row.borrowed = loan.borrowed;
            row.due = loan.due;
            row.status = loan.status;
            row.rate = loan.rate;  // kept for the return view's penalty
            row.info = loan.info;
            view.insert();
            writeLoan(view, row);
            view.post();
        }
        tx.commit();
    } catch (...) {
        cancelPending({&view});
        throw;
    }
    return view.recordCount();
}

StagingLoad loadBorrowStaging(app::DataModule& data, const Member& member) {
    StagingLoad load;
    store::Table& staging = readyTable(data, "tbKARTUb", "iKDBARANG");
    const bool emptied = emptyStaging(staging);
    staging.setIndexName("iKDBARANG");
    if (!emptied) {
        load.emptied = false;
        load.rows = staging.recordCount();
        return load;
    }
    load.rows = fillOpenLoanView(data, member, ViewClass::Member);
    return load;
}

std::string copyNotFoundQuestion(const std::string& code) {
    return code + " not found. select [Cancell] button if you want to try search by TITLE ?";
}

std::string limitQuestion(std::int64_t count, std::int64_t maxBorrow, CopySource source) {
    const bool scanned = source == CopySource::ItemCode;
    return std::string("This member was get the limit to borrow. ") +
           (scanned ? "Order borrow for now: " : "Amount to borrowed now: ") +
           std::to_string(count) + ", Max. allowed: " + std::to_string(maxBorrow) +
           "\rCancel this operation ?\r" + (scanned ? "               " : "") +
           "(Select [cancell] button to continue anyway)";
}

CopyOutcome checkCopyForBorrow(app::DataModule& data, const std::string& typedCode,
                               std::int64_t maxBorrow, CopySource source) {
    CopyOutcome out;
    const std::string code = core::trim(typedCode);
    if (code.empty()) return out;
    if (source == CopySource::ItemCode) {
        if (isStagedForBorrow(data, code)) {
            out.check = CopyCheck::AlreadyStaged;
            out.message = kAlreadyStagedMessage;
            return out;
        }
        out.copy = findCopy(data, code);
        if (!out.copy) {
            out.check = CopyCheck::NotFound;
            out.message = copyNotFoundQuestion(code);
            return out;
        }
    } else {
        // A picked copy that has gone in the meantime: nothing more happens.
        out.copy = findCopy(data, code);
        if (!out.copy) {
            out.check = CopyCheck::NotFound;
            return out;
        }
        if (isStagedForBorrow(data, out.copy->code)) {
            out.check = CopyCheck::AlreadyStaged;
            out.message = kAlreadyStagedMessage;
            return out;
        }
    }
    // The list leaves copies on loan out, but one may have been lent since.
    if (isOnLoan(out.copy->status)) {
        out.check = CopyCheck::OnLoan;
        out.message = onLoanMessage(core::trim(out.copy->title), core::trim(out.copy->borrower),
                                    out.copy->borrowed, out.copy->due);
        return out;
    }
    const std::int64_t count = borrowStagingCount(data);
    if (count < maxBorrow) {
        out.check = CopyCheck::Ready;
    } else {
        out.check = CopyCheck::OverLimit;
        out.message = limitQuestion(count, maxBorrow, source);
    }
    return out;
}

void stageLoan(app::DataModule& data, const core::Clock& clock, const std::string& user,
               const Member& member, const Copy& copy) {
    store::Table& staging = readyTable(data, "tbKARTUb", "iKDBARANG");
    const core::DateTime now = clock.now();
    LoanRecord row;
    row.written = now;
    row.itemCode = copy.code;
    row.title = copy.title;
    row.author = copy.author;
    row.publisher = copy.publisher;
    row.memberCode = member.code;
    row.memberName = member.name;
    row.familyCode = member.family;
    row.memberClass = member.memberClass;
    row.lentBy = user;
    row.borrowed = now;
    row.due = dueDate(now, member.limitDays);
    row.status = kLoanStaged;
    row.rate = member.penaltyRate;
    try {
        staging.insert();
        writeLoan(staging, row);
        staging.post();
    } catch (...) {
        cancelPending({&staging});
        throw;
    }
}

namespace {

enum class LendResult { Lent, AlreadyLent, OnLoan, Vanished };

struct Lend {
    LendResult result = LendResult::Lent;
    std::string borrower;
};

// Whether tKARTU already holds this very loan: a save whose staging mark was
// lost after the library commit.
bool loanAlreadyWritten(store::Table& kartu, const LoanRecord& staged) {
    const std::string code = core::trim(staged.itemCode);
    if (!kartu.findKey({code})) return false;
    for (; !kartu.eof() && core::equalsIgnoreCase(core::trim(kartu.asString("KDBARANG")), code);
         kartu.next()) {
        if (isOnLoan(kartu.asString("STATUS")) &&
            core::equalsIgnoreCase(core::trim(kartu.asString("KDFANGGOTA")),
                                   core::trim(staged.memberCode)) &&
            kartu.asDateTime("TGPINJAM") == staged.borrowed)
            return true;
    }
    return false;
}

// One copy lent as one unit of work on the library database.
Lend lendOne(app::DataModule& data, const LoanRecord& staged) {
    store::Transaction tx(data.dbTOVIRAK);
    store::Table& buku = readyTable(data, "tbBUKU", "iKodeBuku");
    store::Table& kartu = readyTable(data, "tbKARTU", "iKDBARANG");
    store::Table& anggota = readyTable(data, "tbANGGOTA", "iKDFANGGOTA");
    const std::string code = core::trim(staged.itemCode);
    if (!buku.findKey({code})) return {LendResult::Vanished, {}};
    if (isOnLoan(buku.asString("STATUS"))) {
        if (loanAlreadyWritten(kartu, staged)) return {LendResult::AlreadyLent, {}};
        return {LendResult::OnLoan, core::trim(buku.asString("KDFANGGOTA"))};
    }

    LoanRecord loan = staged;
    loan.status = kLoanOpen;
    loan.takenBackBy.clear();
    loan.returned = core::DateTime();
    loan.daysLate = 0;
    loan.amount = 0;
    kartu.insert();
    writeLoan(kartu, loan);
    kartu.post();

    buku.edit();
    buku.setString("STATUS", kLoanOpen);
    buku.setString("KDFANGGOTA", core::trim(staged.memberCode));
    buku.setString("KDPETUGASB", core::trim(staged.lentBy));
    buku.setDateTime("TGPINJAM", staged.borrowed);
    buku.setDateTime("TGJANJI", staged.due);
    buku.setDateTime("TGKEMBALI", core::DateTime());
    buku.setString("KDPETUGASR", "");
    buku.post();

    if (anggota.findKey({core::asciiUpper(core::trim(staged.memberCode))})) {
        anggota.edit();
        anggota.setInteger("JLHPINJAM", anggota.asInteger("JLHPINJAM") + 1);
        anggota.post();
    }
    tx.commit();
    return {};
}

}  // namespace

std::string SaveOutcome::message() const {
    if (nothingStaged) return kNothingStagedMessage;
    if (notSaved.empty()) return {};
    std::string text = "These books were not saved, they changed after they were entered:";
    for (const auto& line : notSaved) text += "\r" + line;
    return text;
}

SaveOutcome saveLoans(app::DataModule& data) {
    SaveOutcome out;
    store::Table& staging = readyTable(data, "tbKARTUb", "iKDBARANG");
    if (staging.recordCount() == 0) {
        out.nothingStaged = true;
        return out;
    }
    std::vector<LoanRow> rows;
    for (LoanRow& row : loanRows(staging))
        if (core::trim(row.loan.status) == kLoanStaged) rows.push_back(std::move(row));

    for (const LoanRow& row : rows) {
        try {
            const Lend lend = lendOne(data, row.loan);
            const std::string label =
                core::trim(row.loan.itemCode) + " " + core::trim(row.loan.title);
            switch (lend.result) {
                case LendResult::Lent:
                    ++out.saved;
                    [[fallthrough]];
                case LendResult::AlreadyLent:
                    // Now one of the member's open loans.
                    staging.setIndexName("iKDBARANG");
                    if (staging.gotoRowId(row.rowId)) {
                        staging.edit();
                        staging.setString("STATUS", kLoanOpen);
                        staging.post();
                    }
                    break;
                case LendResult::OnLoan:
                    out.notSaved.push_back(label + " - borrowed by: " + lend.borrower);
                    break;
                case LendResult::Vanished:
                    out.notSaved.push_back(label + " - not in the Book Table any more");
                    break;
            }
        } catch (const std::exception& e) {
            cancelPending({&data.table("tbKARTU"), &data.table("tbBUKU"), &data.table("tbANGGOTA"),
                           &staging});
            out.error = e.what();
            break;
        }
    }
    return out;
}

}  // namespace circulation
