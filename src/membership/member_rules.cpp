#include "membership/member_rules.h"

#include <cmath>

#include "core/text.h"

namespace membership {

std::string familyCodeOf(std::string_view typed) { return core::asciiUpper(core::trim(typed)); }

std::string memberCodeOf(std::string_view callName, std::string_view familyCode) {
    return core::asciiUpper(core::trim(callName) + "." + core::trim(familyCode));
}

const std::vector<std::string>& familyFieldNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out = {"ALAMAT", "TELP"};
        for (const char* parent : {"MR", "MS"})
            for (const char* part :
                 {"NAMA", "KANTOR", "ALAMAT", "TELP", "HP", "PINBB", "EMAIL", "WEB"})
                out.push_back(std::string(parent) + part);
        return out;
    }();
    return names;
}

bool isParentField(std::string_view field) {
    return core::startsWith(field, "MR") || core::startsWith(field, "MS");
}

MemberForm clearedMemberForm() {
    MemberForm f;
    f.borrowed = "0";
    f.maximum = std::to_string(kDefaultMaximum);
    f.loanDays = std::to_string(kDefaultLoanDays);
    f.penalty = "0";
    return f;
}

namespace {

// The window's label of each converted box, as the user reads it.
const char* boxLabel(MemberBox box) {
    switch (box) {
        case MemberBox::Borrowed:
            return "Amount of borrow";
        case MemberBox::Birth:
            return "Date Of Birth";
        case MemberBox::Penalty:
            return "Denda/penalty";
        case MemberBox::Maximum:
            return "Maximum to borrow";
        case MemberBox::LoanDays:
            return "Lenght of borrowed";
    }
    return "";
}

MemberValidation refused(MemberBox box, const std::string& problem) {
    MemberValidation v;
    v.badBox = box;
    v.message = std::string(boxLabel(box)) + ": " + problem + "\rNothing was saved.";
    return v;
}

// A count of zero or more, or the reason it is not one.
std::optional<std::string> readCount(const std::string& text, std::int64_t& out) {
    const std::string t = core::trim(text);
    auto n = core::parseInteger(t);
    if (!n) return core::notAnIntegerMessage(t);
    if (*n < 0) return "'" + t + "' may not be below zero";
    out = *n;
    return std::nullopt;
}

}  // namespace

MemberValidation validateMemberForm(const MemberForm& form) {
    MemberValues v;
    v.name = form.name;
    v.address = form.address;
    v.phone = form.phone;
    v.mobile = form.mobile;
    v.email = form.email;
    v.web = form.web;
    v.klass = form.klass;

    if (auto problem = readCount(form.borrowed, v.borrowed))
        return refused(MemberBox::Borrowed, *problem);

    const std::string birth = core::trim(form.birth);
    if (!birth.empty()) {
        // Only the documented form yyyy-mm-dd: a time of day or a short
        // month would be read differently by the next person.
        auto d = core::DateTime::parse(birth);
        if (!d || d->toDateText() != birth)
            return refused(MemberBox::Birth, "'" + birth + "' is not a valid date (yyyy-mm-dd)");
        v.birth = *d;
    }

    const std::string penalty = core::trim(form.penalty);
    auto p = core::parseNumber(penalty);
    if (!p || !std::isfinite(*p))
        return refused(MemberBox::Penalty, core::notANumberMessage(penalty));
    if (*p < 0) return refused(MemberBox::Penalty, "'" + penalty + "' may not be below zero");
    v.penalty = *p;

    if (auto problem = readCount(form.maximum, v.maximum))
        return refused(MemberBox::Maximum, *problem);
    if (auto problem = readCount(form.loanDays, v.loanDays))
        return refused(MemberBox::LoanDays, *problem);

    MemberValidation ok;
    ok.values = std::move(v);
    return ok;
}

std::optional<std::string> ageMessage(std::string_view birthText, const core::DateTime& today) {
    const std::string t = core::trim(birthText);
    if (t.empty()) return std::nullopt;
    const core::DateTime birth = core::DateTime::fromText(t);
    if (birth.isZero()) return std::nullopt;
    return std::to_string(core::ageInYears(birth, today)) + " years old";
}

namespace messages {

namespace {
const char* const kDoubleRecord = "\rDoubleRecord not allowed. Not saved yet and try again please.";
std::string s(std::string_view v) { return std::string(v); }
}  // namespace

std::string newFamilyQuestion(std::string_view c) { return "Is: \"" + s(c) + "\" a new FAMILY?"; }
std::string familyJustEntered(std::string_view c) {
    return "Sorry, FAMILY " + s(c) + " just enter by another user." + kDoubleRecord;
}
std::string familyInserted(std::string_view c) {
    return "Congratulation, FAMILY: " + s(c) + " sucessfully insert to the system.";
}
std::string familyCodeTooLong(std::string_view c) {
    return "Family Call Name \"" + s(c) + "\" is longer than " + std::to_string(kFamilyCodeWidth) +
           " characters.\rNot saved.";
}
std::string familySaved(std::string_view c) { return s(c) + " Sucsessfully to save"; }
std::string familyNotSaved(std::string_view c) { return s(c) + " not save, try again."; }
std::string familyCancelled(std::string_view c) { return s(c) + " Cancell/Not saved"; }
std::string familyUsed(std::string_view c) {
    return s(c) + " used by Member, may not delete till unused";
}
std::string familyUnused(std::string_view c) {
    return s(c) + " unused. And, will be continue to delete";
}
std::string familyDeleted(std::string_view c) { return s(c) + " was deleted."; }
std::string familyNotDeleted(std::string_view c) { return s(c) + " not deleted, try again."; }
std::string newMemberQuestion(std::string_view c) { return "Is: \"" + s(c) + "\" a new MEMBER ?"; }
std::string memberJustEntered(std::string_view t) {
    return "Sorry, MEMBER " + s(t) + " just enter by another user." + kDoubleRecord;
}
std::string memberInserted(std::string_view t) {
    return "Congratulation, MEMBER: " + s(t) + " sucessfully insert to the system.";
}
std::string memberCodeTooLong(std::string_view c, std::size_t width) {
    return "Member ID \"" + s(c) + "\" is longer than " + std::to_string(width) +
           " characters.\rUse a shorter call name please. Not saved.";
}
std::string familyGone(std::string_view c) {
    return "Sorry, FAMILY " + s(c) + " is not in the system any more (deleted by another user)." +
           "\rMember not saved.";
}
std::string memberNotSaved(std::string_view c) { return "Sorry, " + s(c) + " not saved."; }
std::string memberNotRecorded(std::string_view c) { return "Sorry, " + s(c) + " not recorded."; }
std::string deleteMemberQuestion(std::string_view c) { return s(c) + "will delete, are you sure?"; }
std::string memberDeleted(std::string_view c) { return s(c) + " was deleted."; }
std::string memberNotDeleted(std::string_view c) { return s(c) + " not deleted, try again."; }

}  // namespace messages

}  // namespace membership
