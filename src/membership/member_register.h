#pragma once
// The families (tKELUARGA) and members (tANGGOTA) of the library, as the
// member window reads and changes them: look-ups by code, creating a family
// or a member from a new code, saving their fields, and deleting them.
//
// Works on the shared table objects it is given; every operation sets the
// index it needs and opens a closed table first, and leaves both tables on
// their usual indexes (iKDFKELUARGA, iKDFANGGOTA). Engine failures (a lock,
// a duplicate refused by a unique index) throw core::Error and leave nothing
// half written.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "membership/member_rules.h"

namespace store {
class Table;
}

namespace membership {

inline constexpr const char* kFamilyIndex = "iKDFKELUARGA";
inline constexpr const char* kMemberIndex = "iKDFANGGOTA";

struct Family {
    std::string code;  // KDFKELUARGA as stored
    // Every field of familyFieldNames(): address and phone as stored, the
    // parents' fields trimmed (as the family panel shows them).
    std::map<std::string, std::string> fields;
};

struct Member {
    std::string code;        // KDFANGGOTA as stored
    std::string familyCode;  // KDFKELUARGA
    // The boxes as the member panel shows them: numbers as plain decimal
    // text, the date of birth as yyyy-mm-dd (1899-12-30 when empty), so that
    // saving them unchanged writes nothing new.
    MemberForm form;
};

enum class Result {
    Done,      // written or deleted
    Refused,   // a rule said no; nothing written
    NotFound,  // the row is not (or no longer) there; nothing written
    Invalid,   // a typed value could not be read; nothing written
};

struct Outcome {
    Result result = Result::Refused;
    std::vector<std::string> messages;  // to show, in this order
    std::optional<MemberBox> badBox;    // Invalid: the box to correct
};

class MemberRegister {
public:
    MemberRegister(store::Table& families, store::Table& members);

    // Opens both tables under their usual indexes when they are closed.
    void open();

    // Exact look-up of a typed family code (trimmed, upper-cased, any case
    // matches). Empty text finds nothing.
    std::optional<Family> findFamily(std::string_view typed);

    // After "Is: ... a new FAMILY?" was answered OK: looks the code up once
    // more and, when it is still absent, stores a family row holding only
    // its code. Refused with the "DoubleRecord" message when another user
    // stored it meanwhile, or when the code is empty or too long.
    Outcome createFamily(std::string_view typed);

    // Writes the address, phone and parents' fields (as typed) into the
    // family row with this code. NotFound ("not save, try again.") when the
    // row has gone.
    Outcome saveFamily(std::string_view code, const std::map<std::string, std::string>& fields);

    // Deletes a family no member uses. Refused with "Close member first"
    // while a member is open in the window, and with the "used by Member"
    // message while any member names the family. Done carries the "unused"
    // and "was deleted." messages; NotFound the "unused" and "not deleted"
    // ones. The check and the delete are one transaction, so a member added
    // by another workstation in between cannot be orphaned.
    Outcome deleteFamily(std::string_view code, bool memberOpen);

    // Exact look-up of a typed member code (trimmed, upper-cased).
    std::optional<Member> findMember(std::string_view typed);

    // Why a new member code cannot be stored as it is (longer than the
    // table's code field, which would cut it and break the code rule), or
    // nothing when it can.
    std::optional<std::string> newMemberCodeProblem(std::string_view code);

    // After "Is: ... a new MEMBER ?" was answered OK: the member code of
    // the call name in this family is looked up once more; when it is still
    // absent and the family row exists, a member row is stored with the
    // code, the family code, the family's address and phone (trimmed) and
    // the default loan rules (maximum 2, 7 days, penalty 0, none on loan,
    // no date of birth). Refused with the "DoubleRecord" message when the
    // code exists, and when the family has gone or the code is too long.
    Outcome createMember(std::string_view callName, std::string_view familyCode);

    // Checks every number and the date first; a bad one is Invalid and
    // nothing is written. Then writes the fields that differ from the row
    // (an unchanged form leaves the row exactly as it was). NotFound
    // ("Sorry, ... not saved.") when the row has gone; Done has no message.
    Outcome saveMember(std::string_view code, const MemberForm& form);

    // Deletes the member row. Done: "... was deleted."; NotFound: "... not
    // deleted, try again.". Loans are not checked.
    Outcome deleteMember(std::string_view code);

private:
    void prepareFamilies();
    void prepareMembers();
    std::size_t memberCodeWidth();

    store::Table& m_families;
    store::Table& m_members;
};

}  // namespace membership
