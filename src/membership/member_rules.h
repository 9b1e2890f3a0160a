#pragma once
// The rules of families and members that need no database: how codes are
// built, what the member boxes hold when cleared, how typed member values are
// checked before anything is written, the age, and every message text of the
// member window.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date_time.h"

namespace membership {

// Typed family codes are kept to this many characters.
inline constexpr std::size_t kFamilyCodeWidth = 14;

// A family code as it is looked up and stored: trimmed, upper case.
std::string familyCodeOf(std::string_view typed);

// A member code: the trimmed call name, a full stop and the trimmed family
// code, in upper case (ELDEST + RIVERSIDE -> ELDEST.RIVERSIDE).
std::string memberCodeOf(std::string_view callName, std::string_view familyCode);

// The editable fields of a family row besides its code: ALAMAT, TELP and the
// father's and mother's blocks (MRNAMA ... MRWEB, MSNAMA ... MSWEB).
const std::vector<std::string>& familyFieldNames();
// Whether a family field belongs to a parent's block (shown trimmed).
bool isParentField(std::string_view field);

// The member boxes as text, the way the window shows and reads them.
struct MemberForm {
    std::string name;      // NMANGGOTA
    std::string address;   // ALAMAT
    std::string phone;     // TELP
    std::string mobile;    // HP
    std::string email;     // EMAIL
    std::string web;       // WEB
    std::string borrowed;  // JLHPINJAM, copies on loan now
    std::string klass;     // KELAS
    std::string birth;     // DOB, yyyy-mm-dd
    std::string maximum;   // MAXPINJAM
    std::string loanDays;  // LAMAPINJAM
    std::string penalty;   // DENDA, per day late

    bool operator==(const MemberForm&) const = default;
};

// The cleared member boxes: every text empty, amount of borrow "0",
// maximum "2", loan days "7", penalty "0".
MemberForm clearedMemberForm();

// The loan rules a new member row starts with.
inline constexpr std::int64_t kDefaultMaximum = 2;
inline constexpr std::int64_t kDefaultLoanDays = 7;
inline constexpr double kDefaultPenalty = 0.0;

// The member boxes whose text is converted, in the order a save reads them.
enum class MemberBox { Borrowed, Birth, Penalty, Maximum, LoanDays };

// A form whose numbers and date were read successfully.
struct MemberValues {
    std::string name, address, phone, mobile, email, web, klass;
    std::int64_t borrowed = 0;
    core::DateTime birth;  // the zero date when the box was empty
    double penalty = 0;
    std::int64_t maximum = 0;
    std::int64_t loanDays = 0;
};

// Either the values, or the first bad box with a message naming it.
struct MemberValidation {
    std::optional<MemberValues> values;
    std::optional<MemberBox> badBox;
    std::string message;
};

// Reads every number and the date of a form before anything is written.
// The counts and the penalty must be whole (respectively decimal) numbers
// of zero or more; the date of birth is empty or a real yyyy-mm-dd date.
// Text boxes are taken as typed.
MemberValidation validateMemberForm(const MemberForm& form);

// The age message for the date-of-birth box on `today`: the age followed
// by " years old". Nothing for an empty box or the zero date (an unknown
// birthday has no age). A box that is not a date throws core::Error with
// the date conversion message.
std::optional<std::string> ageMessage(std::string_view birthText, const core::DateTime& today);

// Message texts of the member window. "\r" starts a new line.
namespace messages {
std::string newFamilyQuestion(std::string_view familyCode);
std::string familyJustEntered(std::string_view familyCode);
std::string familyInserted(std::string_view familyCode);
std::string familyCodeTooLong(std::string_view familyCode);
inline constexpr const char* kCloseMemberBeforeFamilyEdit =
    "You are still open a member record, close now and continue to edit family record?";
std::string familySaved(std::string_view familyCode);
std::string familyNotSaved(std::string_view familyCode);
std::string familyCancelled(std::string_view familyCode);
inline constexpr const char* kCloseMemberFirst = "Close member first";
std::string familyUsed(std::string_view familyCode);
std::string familyUnused(std::string_view familyCode);
std::string familyDeleted(std::string_view familyCode);
std::string familyNotDeleted(std::string_view familyCode);
inline constexpr const char* kSelectFamilyFirst = "You must select Family, before edit Member ID";
std::string newMemberQuestion(std::string_view memberCode);
std::string memberJustEntered(std::string_view callName);
std::string memberInserted(std::string_view callName);
std::string memberCodeTooLong(std::string_view memberCode, std::size_t width);
std::string familyGone(std::string_view familyCode);
std::string memberNotSaved(std::string_view memberCode);
std::string memberNotRecorded(std::string_view memberCode);
std::string deleteMemberQuestion(std::string_view memberCode);
std::string memberDeleted(std::string_view memberCode);
std::string memberNotDeleted(std::string_view memberCode);
inline constexpr const char* kSaveEditingFirst = "save yours editing first please.";
}  // namespace messages

}  // namespace membership
