#include "circulation/loan_record.h"

#include "core/text.h"
#include "store/table.h"

namespace circulation {

LoanRecord readLoan(const store::Table& t) {
    LoanRecord r;
    r.written = t.asDateTime("TGTRAN");
    r.itemCode = t.asString("KDBARANG");
    r.title = t.asString("TITLE");
    r.author = t.asString("AUTHOR");
    r.publisher = t.asString("PUBLISHER");
    r.memberCode = t.asString("KDFANGGOTA");
    r.memberName = t.asString("NMANGGOTA");
    r.familyCode = t.asString("KDFKELUARGA");
    r.memberClass = t.asString("KELAS");
    r.lentBy = t.asString("KDPETUGASB");
    r.takenBackBy = t.asString("KDPETUGASR");
    r.borrowed = t.asDateTime("TGPINJAM");
    r.due = t.asDateTime("TGJANJI");
    r.returned = t.asDateTime("TGKEMBALI");
    r.status = t.asString("STATUS");
    r.daysLate = t.asInteger("DENDAHARI");
    r.rate = t.asFloat("DENDA");
    r.amount = t.asFloat("DENDAPAID");
    r.info = t.asString("INFO");
    return r;
}

void writeLoan(store::Table& t, const LoanRecord& r) {
    t.setDateTime("TGTRAN", r.written);
    t.setString("KDBARANG", core::trim(r.itemCode));
    t.setString("TITLE", core::trim(r.title));
    t.setString("AUTHOR", core::trim(r.author));
    t.setString("PUBLISHER", core::trim(r.publisher));
    t.setString("KDFANGGOTA", core::trim(r.memberCode));
    t.setString("NMANGGOTA", core::trim(r.memberName));
    t.setString("KDFKELUARGA", core::trim(r.familyCode));
    t.setString("KELAS", core::trim(r.memberClass));
    t.setString("KDPETUGASB", core::trim(r.lentBy));
    t.setString("KDPETUGASR", core::trim(r.takenBackBy));
    t.setDateTime("TGPINJAM", r.borrowed);
    t.setDateTime("TGJANJI", r.due);
    t.setDateTime("TGKEMBALI", r.returned);
    t.setString("STATUS", core::trim(r.status));
    t.setInteger("DENDAHARI", r.daysLate);
    t.setFloat("DENDA", r.rate);
    t.setFloat("DENDAPAID", r.amount);
    t.setString("INFO", r.info);
}

}  // namespace circulation
