#include "circulation/withdrawal.h"

#include "app/data_module.h"
#include "circulation/desk_tables.h"
#include "circulation/loan_rules.h"
#include "core/text.h"
#include "store/connection.h"
#include "store/table.h"

namespace circulation {

namespace {

// The catalogue fields a staged and a withdrawn row carry (not the picture,
// KDANGGOTA, CNTG or CNNUM).
const char* const kCarried[] = {
    "KDBARANG",   "TITLE",   "AUTHOR",    "PUBLISHER",  "OC",         "CNKLS",
    "CNRAK",      "CNBRS",   "UDC",       "KELAS",      "USIA",       "ISBN",
    "STATUS",     "KONDISI", "TGBELI",    "SHARGA",     "NMTOKO",     "NMDONATUR",
    "KDFANGGOTA", "PTGSNEW", "KEYWORD",   "DDC",        "BAHASA",     "SIMPANFILE",
    "TGNEW",      "TGEDIT",  "PTGSEDIT",  "KDPETUGASB", "KDPETUGASR", "KDPETUGASH",
    "TGPINJAM",   "TGJANJI", "TGKEMBALI", "TGHAPUS",    "JENIS",      "IO"};

bool isDateField(const store::Table& t, const std::string& name) {
    for (const auto& f : t.layout().fields)
        if (core::equalsIgnoreCase(f.name, name))
            return f.type == store::FieldType::Date || f.type == store::FieldType::DateTime;
    return false;
}

// Copies the carried fields of the current record of `from` into `to` (in
// insert state). Dates travel through their text; an empty one becomes the
// zero date.
void copyCarried(const store::Table& from, store::Table& to) {
    for (const char* field : kCarried) {
        if (isDateField(to, field)) {
            const std::string text = core::trim(from.asString(field));
            to.setDateTime(field, text.empty() ? core::DateTime() : core::DateTime::fromText(text));
        } else if (std::string(field) == "USIA") {
            to.setInteger(field, from.asInteger(field));
        } else {
            to.setString(field, from.asString(field));
        }
    }
}

enum class WithdrawResult { Withdrawn, OnLoan, Vanished, AlreadyWithdrawn, StagedRowGone };

// One staged copy withdrawn as one unit of work on the library database.
WithdrawResult withdrawOne(app::DataModule& data, const core::Clock& clock, const std::string& user,
                           store::Table& staging, long long stagedRow) {
    store::Transaction tx(data.dbTOVIRAK);
    store::Table& buku = readyTable(data, "tbBUKU", "iKodeBuku");
    store::Table& hibah = readyTable(data, "tbHIBAH", "iKodeBuku");
    staging.setIndexName("iKodeBuku");
    if (!staging.gotoRowId(stagedRow)) return WithdrawResult::StagedRowGone;
    const std::string code = core::trim(staging.asString("KDBARANG"));
    if (code.empty() || !buku.findKey({code}))
        return !code.empty() && hibah.findKey({code}) ? WithdrawResult::AlreadyWithdrawn
                                                      : WithdrawResult::Vanished;
    if (isOnLoan(buku.asString("STATUS"))) return WithdrawResult::OnLoan;

    hibah.insert();
    copyCarried(staging, hibah);
    hibah.setString("KDPETUGASH", user);
    hibah.setDateTime("TGHAPUS", clock.now());
    hibah.post();
    buku.remove();
    tx.commit();
    return WithdrawResult::Withdrawn;
}

}  // namespace

void openWithdrawalTables(app::DataModule& data) {
    data.ensureLibraryConnected();
    data.openTable("tbBUKU", "iKodeBuku");
    data.openTable("tbHIBAHt", "iKodeBuku");
    data.openTable("tbHIBAH", "iKodeBuku");
}

WithdrawalCounts withdrawalCounts(app::DataModule& data) {
    WithdrawalCounts c;
    c.catalogue = data.openTable("tbBUKU", "iKodeBuku").recordCount();
    c.staged = data.openTable("tbHIBAHt", "iKodeBuku").recordCount();
    c.withdrawn = data.openTable("tbHIBAH", "iKodeBuku").recordCount();
    return c;
}

WithdrawalStageOutcome stageWithdrawal(app::DataModule& data, const std::string& boxText) {
    WithdrawalStageOutcome out;
    const std::string code = core::trim(boxText);
    if (code.empty()) return out;
    store::Table& staging = readyTable(data, "tbHIBAHt", "iKodeBuku");
    if (staging.findKey({code})) {
        out.result = WithdrawalStage::AlreadyStaged;
        out.message =
            boxText + " is in the Temporary file, and\rready to sent to the hibah container";
        return out;
    }
    store::Table& buku = readyTable(data, "tbBUKU", "iKodeBuku");
    if (!buku.findKey({code})) {
        out.result = WithdrawalStage::NotFound;
        out.message = boxText + " not found.";
        return out;
    }
    if (isOnLoan(buku.asString("STATUS"))) {
        out.result = WithdrawalStage::OnLoan;
        out.message = onLoanMessage(code, core::trim(buku.asString("KDFANGGOTA")),
                                    buku.asDateTime("TGPINJAM"), buku.asDateTime("TGJANJI"));
        return out;
    }
    try {
        staging.insert();
        copyCarried(buku, staging);
        staging.post();
    } catch (...) {
        cancelPending({&staging});
        throw;
    }
    out.result = WithdrawalStage::Staged;
    return out;
}

std::vector<std::string> WithdrawalPost::messages() const {
    std::vector<std::string> out;
    if (!vanished.empty()) {
        std::string text =
            "These books are not in the Book Table any more,\rthey were taken out of the Temporary "
            "file:";
        for (const auto& line : vanished) text += "\r" + line;
        out.push_back(text);
    }
    if (leftover) out.push_back(kLeftoverMessage);
    if (leftoverKept) out.push_back(kCannotEmptyMessage);
    return out;
}

WithdrawalPost postWithdrawals(app::DataModule& data, const core::Clock& clock,
                               const std::string& user) {
    WithdrawalPost out;
    store::Table& staging = readyTable(data, "tbHIBAHt", "iKodeBuku");
    struct Staged {
        long long rowId;
        std::string label;
    };
    std::vector<Staged> batch;
    for (staging.first(); !staging.eof(); staging.next())
        batch.push_back({staging.rowId(), core::trim(staging.asString("KDBARANG")) + " " +
                                              core::trim(staging.asString("TITLE"))});

    for (const Staged& s : batch) {
        try {
            const WithdrawResult r = withdrawOne(data, clock, user, staging, s.rowId);
            if (r == WithdrawResult::OnLoan || r == WithdrawResult::StagedRowGone) continue;
            if (r == WithdrawResult::Withdrawn) ++out.withdrawn;
            if (r == WithdrawResult::Vanished) out.vanished.push_back(s.label);
            staging.setIndexName("iKodeBuku");
            if (staging.gotoRowId(s.rowId)) staging.remove();
        } catch (const std::exception& e) {
            cancelPending({&data.table("tbHIBAH"), &data.table("tbBUKU"), &staging});
            out.error = e.what();
            return out;
        }
    }
    staging.setIndexName("iKodeBuku");
    if (staging.recordCount() > 0) {
        out.leftover = true;
        out.leftoverKept = !emptyStaging(staging);
    }
    return out;
}

bool cancelWithdrawals(app::DataModule& data) {
    store::Table& staging = readyTable(data, "tbHIBAHt", "iKodeBuku");
    if (staging.recordCount() == 0) return true;
    return emptyStaging(staging);
}

std::optional<Detail> stagedDetail(app::DataModule& data, const std::string& itemCode) {
    const std::string code = core::trim(itemCode);
    store::Table& staging = readyTable(data, "tbHIBAHt", "iKodeBuku");
    if (code.empty() || !staging.findKey({code})) return std::nullopt;
    auto text = [&](const char* f) { return staging.asString(f); };
    auto when = [&](const char* f) {
        const std::string t = core::trim(staging.asString(f));
        return (t.empty() ? core::DateTime() : core::DateTime::fromText(t)).toDateTimeText();
    };
    return Detail{{"Book/Call Code", text("KDBARANG")},
                  {"Title", text("TITLE")},
                  {"Author", text("AUTHOR")},
                  {"Publisher", text("PUBLISHER")},
                  {"Classification", core::trim(text("UDC")) + " / " + core::trim(text("DDC"))},
                  {"Language", text("BAHASA")},
                  {"Kata Kunci", text("KEYWORD")},
                  {"ISBN", text("ISBN")},
                  {"Asli / Copy", text("OC")},
                  {"Kondisi", text("KONDISI")},
                  {"Kelas", text("KELAS")},
                  {"Usia", text("USIA")},
                  {"Status", text("STATUS")},
                  {"Peminjam", text("KDFANGGOTA")},
                  {"Tgl Pinjam", when("TGPINJAM")},
                  {"Room", text("CNKLS")},
                  {"Rack", text("CNRAK")},
                  {"Row", text("CNBRS")}};
}

}  // namespace circulation
