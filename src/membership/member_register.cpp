#include "membership/member_register.h"

#include "core/text.h"
#include "store/connection.h"
#include "store/table.h"

namespace membership {

namespace {

Outcome outcome(Result result, std::vector<std::string> messages = {}) {
    Outcome o;
    o.result = result;
    o.messages = std::move(messages);
    return o;
}

// Sets a table object back to an index when the scope ends, however it ends.
class IndexRestorer {
public:
    IndexRestorer(store::Table& table, const char* index) : m_table(table), m_index(index) {}
    ~IndexRestorer() {
        try {
            m_table.setIndexName(m_index);
        } catch (...) {
        }
    }
    IndexRestorer(const IndexRestorer&) = delete;
    IndexRestorer& operator=(const IndexRestorer&) = delete;

private:
    store::Table& m_table;
    const char* m_index;
};

// Drops a pending edit or insert when the scope is left by an exception, so
// a half-set record is never posted later by another operation.
class PendingGuard {
public:
    explicit PendingGuard(store::Table& table) : m_table(table) {}
    ~PendingGuard() {
        if (m_done) return;
        try {
            m_table.cancel();
        } catch (...) {
        }
    }
    void done() { m_done = true; }
    PendingGuard(const PendingGuard&) = delete;
    PendingGuard& operator=(const PendingGuard&) = delete;

private:
    store::Table& m_table;
    bool m_done = false;
};

void setTextIfChanged(store::Table& t, const char* field, const std::string& text) {
    if (t.asString(field) != text) t.setString(field, text);
}

void setIntegerIfChanged(store::Table& t, const char* field, std::int64_t value) {
    if (t.asInteger(field) != value) t.setInteger(field, value);
}

}  // namespace

MemberRegister::MemberRegister(store::Table& families, store::Table& members)
    : m_families(families), m_members(members) {}

void MemberRegister::prepareFamilies() {
    m_families.setIndexName(kFamilyIndex);
    if (!m_families.isOpen()) m_families.open();
}

void MemberRegister::prepareMembers() {
    m_members.setIndexName(kMemberIndex);
    if (!m_members.isOpen()) m_members.open();
}

void MemberRegister::open() {
    if (!m_families.isOpen()) prepareFamilies();
    if (!m_members.isOpen()) prepareMembers();
}

std::optional<Family> MemberRegister::findFamily(std::string_view typed) {
    const std::string code = familyCodeOf(typed);
    if (code.empty()) return std::nullopt;
    prepareFamilies();
    if (!m_families.findKey({code})) return std::nullopt;
    Family f;
    f.code = m_families.asString("KDFKELUARGA");
    for (const auto& field : familyFieldNames()) {
        std::string value = m_families.asString(field);
        f.fields[field] = isParentField(field) ? core::trim(value) : value;
    }
    return f;
}

Outcome MemberRegister::createFamily(std::string_view typed) {
    const std::string code = familyCodeOf(typed);
    if (code.empty()) return outcome(Result::Refused);
    if (core::characterCount(code) > kFamilyCodeWidth)
        return outcome(Result::Refused, {messages::familyCodeTooLong(code)});
    prepareFamilies();
    // The second look-up and the insert are one transaction: another
    // workstation cannot slip the same code in between. One that stored it
    // while the question was open is found here; the unique index refuses
    // whatever still gets past.
    store::Transaction tx(m_families.connection());
    if (m_families.findKey({code}))
        return outcome(Result::Refused, {messages::familyJustEntered(code)});
    PendingGuard pending(m_families);
    m_families.insert();
    m_families.setString("KDFKELUARGA", code);
    m_families.post();
    pending.done();
    tx.commit();
    return outcome(Result::Done, {messages::familyInserted(code)});
}

Outcome MemberRegister::saveFamily(std::string_view typedCode,
                                   const std::map<std::string, std::string>& fields) {
    const std::string code = core::trim(typedCode);
    prepareFamilies();
    if (code.empty() || !m_families.findKey({code}))
        return outcome(Result::NotFound, {messages::familyNotSaved(code)});
    PendingGuard pending(m_families);
    m_families.edit();
    for (const auto& name : familyFieldNames()) {
        auto it = fields.find(name);
        if (it != fields.end()) setTextIfChanged(m_families, name.c_str(), it->second);
    }
    m_families.post();
    pending.done();
    return outcome(Result::Done, {messages::familySaved(code)});
}

Outcome MemberRegister::deleteFamily(std::string_view typedCode, bool memberOpen) {
    const std::string code = core::trim(typedCode);
    if (memberOpen) return outcome(Result::Refused, {messages::kCloseMemberFirst});
    if (code.empty()) return outcome(Result::NotFound, {messages::familyNotDeleted(code)});
    prepareFamilies();
    prepareMembers();
    IndexRestorer restoreMembers(m_members, kMemberIndex);
    IndexRestorer restoreFamilies(m_families, kFamilyIndex);
    store::Transaction tx(m_families.connection());
    m_members.setIndexName(kFamilyIndex);
    if (m_members.findKey({code})) return outcome(Result::Refused, {messages::familyUsed(code)});
    if (!m_families.findKey({code}))
        return outcome(Result::NotFound,
                       {messages::familyUnused(code), messages::familyNotDeleted(code)});
    m_families.remove();
    tx.commit();
    return outcome(Result::Done, {messages::familyUnused(code), messages::familyDeleted(code)});
}

std::size_t MemberRegister::memberCodeWidth() {
    prepareMembers();
    for (const auto& f : m_members.layout().fields)
        if (core::equalsIgnoreCase(f.name, "KDFANGGOTA")) return static_cast<std::size_t>(f.width);
    return 0;
}

std::optional<Member> MemberRegister::findMember(std::string_view typed) {
    const std::string code = core::asciiUpper(core::trim(typed));
    if (code.empty()) return std::nullopt;
    // A longer text would be cut to the field's width by the look-up and
    // could find a different member.
    const std::size_t width = memberCodeWidth();
    if (width > 0 && core::characterCount(code) > width) return std::nullopt;
    prepareMembers();
    if (!m_members.findKey({code})) return std::nullopt;
    Member m;
    m.code = m_members.asString("KDFANGGOTA");
    m.familyCode = m_members.asString("KDFKELUARGA");
    MemberForm& f = m.form;
    f.name = m_members.asString("NMANGGOTA");
    f.address = m_members.asString("ALAMAT");
    f.phone = m_members.asString("TELP");
    f.mobile = m_members.asString("HP");
    f.email = m_members.asString("EMAIL");
    f.web = m_members.asString("WEB");
    f.borrowed = std::to_string(m_members.asInteger("JLHPINJAM"));
    f.klass = m_members.asString("KELAS");
    f.birth = m_members.asDateTime("DOB").toDateText();
    f.maximum = std::to_string(m_members.asInteger("MAXPINJAM"));
    f.loanDays = std::to_string(m_members.asInteger("LAMAPINJAM"));
    f.penalty = core::formatPlainNumber(m_members.asFloat("DENDA"));
    return m;
}

std::optional<std::string> MemberRegister::newMemberCodeProblem(std::string_view code) {
    const std::size_t width = memberCodeWidth();
    if (width > 0 && core::characterCount(code) > width)
        return messages::memberCodeTooLong(code, width);
    return std::nullopt;
}

Outcome MemberRegister::createMember(std::string_view typedCallName, std::string_view typedFamily) {
    const std::string callName = core::trim(typedCallName);
    const std::string family = familyCodeOf(typedFamily);
    if (callName.empty()) return outcome(Result::Refused);
    const std::string code = memberCodeOf(callName, family);
    if (auto problem = newMemberCodeProblem(code)) return outcome(Result::Refused, {*problem});
    prepareFamilies();
    prepareMembers();
    store::Transaction tx(m_members.connection());
    if (m_members.findKey({code}))
        return outcome(Result::Refused, {messages::memberJustEntered(callName)});
    // Every member names an existing family.
    if (family.empty() || !m_families.findKey({family}))
        return outcome(Result::Refused, {messages::familyGone(family)});
    const std::string address = core::trim(m_families.asString("ALAMAT"));
    const std::string phone = core::trim(m_families.asString("TELP"));
    PendingGuard pending(m_members);
    m_members.insert();
    m_members.setString("KDFANGGOTA", code);
    m_members.setString("KDFKELUARGA", family);
    m_members.setString("ALAMAT", address);
    m_members.setString("TELP", phone);
    m_members.setInteger("JLHPINJAM", 0);
    m_members.setInteger("MAXPINJAM", kDefaultMaximum);
    m_members.setInteger("LAMAPINJAM", kDefaultLoanDays);
    m_members.setFloat("DENDA", kDefaultPenalty);
    m_members.setDateTime("DOB", core::DateTime());
    m_members.post();
    pending.done();
    tx.commit();
    return outcome(Result::Done, {messages::memberInserted(callName)});
}

Outcome MemberRegister::saveMember(std::string_view typedCode, const MemberForm& form) {
    const std::string code = core::trim(typedCode);
    // Every box is read before anything is written.
    MemberValidation checked = validateMemberForm(form);
    if (!checked.values) {
        Outcome o = outcome(Result::Invalid, {checked.message});
        o.badBox = checked.badBox;
        return o;
    }
    const MemberValues& v = *checked.values;
    prepareMembers();
    if (code.empty() || !m_members.findKey({code}))
        return outcome(Result::NotFound, {messages::memberNotSaved(code)});
    PendingGuard pending(m_members);
    m_members.edit();
    setTextIfChanged(m_members, "NMANGGOTA", v.name);
    setTextIfChanged(m_members, "ALAMAT", v.address);
    setTextIfChanged(m_members, "TELP", v.phone);
    setTextIfChanged(m_members, "HP", v.mobile);
    setTextIfChanged(m_members, "EMAIL", v.email);
    setTextIfChanged(m_members, "WEB", v.web);
    setIntegerIfChanged(m_members, "JLHPINJAM", v.borrowed);
    setTextIfChanged(m_members, "KELAS", v.klass);
    if (m_members.asDateTime("DOB") != v.birth) m_members.setDateTime("DOB", v.birth);
    if (m_members.asFloat("DENDA") != v.penalty) m_members.setFloat("DENDA", v.penalty);
    setIntegerIfChanged(m_members, "MAXPINJAM", v.maximum);
    setIntegerIfChanged(m_members, "LAMAPINJAM", v.loanDays);
    m_members.post();
    pending.done();
    return outcome(Result::Done);
}

Outcome MemberRegister::deleteMember(std::string_view typedCode) {
    const std::string code = core::trim(typedCode);
    prepareMembers();
    if (code.empty() || !m_members.findKey({code}))
        return outcome(Result::NotFound, {messages::memberNotDeleted(code)});
    m_members.remove();
    return outcome(Result::Done, {messages::memberDeleted(code)});
}

}  // namespace membership
