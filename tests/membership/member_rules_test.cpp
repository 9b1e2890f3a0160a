// Member codes, the checks on typed member values and the age.

#include "membership/member_rules.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace {

using membership::MemberBox;
using membership::MemberForm;

TEST(MemberCodes, CallNameFullStopFamilyInUpperCase) {
    EXPECT_EQ(membership::memberCodeOf("ELDEST", "RIVERSIDE"), "ELDEST.RIVERSIDE");
    EXPECT_EQ(membership::memberCodeOf("  ani ", " riverside  "), "ANI.RIVERSIDE");
    EXPECT_EQ(membership::familyCodeOf("  riverside "), "RIVERSIDE");
    // Only a-z are upper-cased.
    EXPECT_EQ(membership::memberCodeOf("zoë", "abc"), "ZOë.ABC");
}

TEST(MemberCodes, FamilyFieldsAreAddressPhoneAndBothParentsBlocks) {
    const auto& names = membership::familyFieldNames();
    ASSERT_EQ(names.size(), 18u);
    EXPECT_EQ(names.front(), "ALAMAT");
    EXPECT_EQ(names[1], "TELP");
    EXPECT_EQ(names[2], "MRNAMA");
    EXPECT_EQ(names.back(), "MSWEB");
    EXPECT_TRUE(membership::isParentField("MSPINBB"));
    EXPECT_FALSE(membership::isParentField("TELP"));
}

MemberForm goodForm() {
    MemberForm f = membership::clearedMemberForm();
    f.name = "  Eldest Riverside ";
    f.borrowed = " 1 ";
    f.birth = " 2000-05-10 ";
    f.maximum = "3";
    f.loanDays = "14";
    f.penalty = " 1500.5";
    return f;
}

TEST(MemberValidation, ClearedFormHoldsTheDefaults) {
    const MemberForm f = membership::clearedMemberForm();
    EXPECT_EQ(f.borrowed, "0");
    EXPECT_EQ(f.maximum, "2");
    EXPECT_EQ(f.loanDays, "7");
    EXPECT_EQ(f.penalty, "0");
    EXPECT_EQ(f.name + f.address + f.phone + f.mobile + f.email + f.web + f.klass + f.birth, "");
    // and reads as those numbers with no date of birth
    auto v = membership::validateMemberForm(f);
    ASSERT_TRUE(v.values);
    EXPECT_EQ(v.values->maximum, 2);
    EXPECT_EQ(v.values->loanDays, 7);
    EXPECT_EQ(v.values->penalty, 0.0);
    EXPECT_TRUE(v.values->birth.isZero());
}

TEST(MemberValidation, ReadsTrimmedNumbersAndDateAndKeepsTextsAsTyped) {
    auto v = membership::validateMemberForm(goodForm());
    ASSERT_TRUE(v.values) << v.message;
    EXPECT_EQ(v.values->name, "  Eldest Riverside ");
    EXPECT_EQ(v.values->borrowed, 1);
    EXPECT_EQ(v.values->birth.toDateText(), "2000-05-10");
    EXPECT_EQ(v.values->maximum, 3);
    EXPECT_EQ(v.values->loanDays, 14);
    EXPECT_DOUBLE_EQ(v.values->penalty, 1500.5);
}

struct BadBox {
    const char* name;
    void (*spoil)(MemberForm&);
    MemberBox box;
    const char* message;
};

TEST(MemberValidation, FirstBadBoxIsNamedAndNoValuesComeBack) {
    const BadBox cases[] = {
        {"borrowed letters", [](MemberForm& f) { f.borrowed = "two"; }, MemberBox::Borrowed,
         "Amount of borrow: 'two' is not a valid integer value\rNothing was saved."},
        {"borrowed empty", [](MemberForm& f) { f.borrowed = "  "; }, MemberBox::Borrowed,
         "Amount of borrow: '' is not a valid integer value\rNothing was saved."},
        {"impossible date", [](MemberForm& f) { f.birth = "2021-02-30"; }, MemberBox::Birth,
         "Date Of Birth: '2021-02-30' is not a valid date (yyyy-mm-dd)\rNothing was saved."},
        {"date in another order", [](MemberForm& f) { f.birth = "10-05-2000"; }, MemberBox::Birth,
         "Date Of Birth: '10-05-2000' is not a valid date (yyyy-mm-dd)\rNothing was saved."},
        {"date with a time", [](MemberForm& f) { f.birth = "2000-05-10 10:00:00"; },
         MemberBox::Birth,
         "Date Of Birth: '2000-05-10 10:00:00' is not a valid date (yyyy-mm-dd)\rNothing was "
         "saved."},
        {"penalty with thousands separator", [](MemberForm& f) { f.penalty = "1,500"; },
         MemberBox::Penalty,
         "Denda/penalty: '1,500' is not a valid floating point value\rNothing was saved."},
        {"negative penalty", [](MemberForm& f) { f.penalty = "-500"; }, MemberBox::Penalty,
         "Denda/penalty: '-500' may not be below zero\rNothing was saved."},
        {"maximum decimal", [](MemberForm& f) { f.maximum = "2.5"; }, MemberBox::Maximum,
         "Maximum to borrow: '2.5' is not a valid integer value\rNothing was saved."},
        {"negative maximum", [](MemberForm& f) { f.maximum = "-1"; }, MemberBox::Maximum,
         "Maximum to borrow: '-1' may not be below zero\rNothing was saved."},
        {"loan days empty", [](MemberForm& f) { f.loanDays = ""; }, MemberBox::LoanDays,
         "Lenght of borrowed: '' is not a valid integer value\rNothing was saved."},
        // Two bad boxes: the one a save reads first is named.
        {"borrowed before loan days",
         [](MemberForm& f) {
             f.loanDays = "x";
             f.borrowed = "y";
         },
         MemberBox::Borrowed,
         "Amount of borrow: 'y' is not a valid integer value\rNothing was saved."},
    };
    for (const auto& c : cases) {
        MemberForm f = goodForm();
        c.spoil(f);
        auto v = membership::validateMemberForm(f);
        EXPECT_FALSE(v.values) << c.name;
        ASSERT_TRUE(v.badBox) << c.name;
        EXPECT_EQ(*v.badBox, c.box) << c.name;
        EXPECT_EQ(v.message, c.message) << c.name;
    }
}

TEST(MemberAge, YearsCountFromTheBirthdayOn) {
    const auto on = [](int y, int m, int d) {
        return core::DateTime::fromParts(y, m, d, 15, 30, 0);
    };
    EXPECT_EQ(membership::ageMessage("2000-05-10", on(2020, 5, 9)), "19 years old");
    EXPECT_EQ(membership::ageMessage("2000-05-10", on(2020, 5, 10)), "20 years old");
    EXPECT_EQ(membership::ageMessage(" 2000-05-10 ", on(2020, 4, 30)), "19 years old");
    EXPECT_EQ(membership::ageMessage("2012-02-29", on(2021, 2, 28)), "8 years old");
    EXPECT_EQ(membership::ageMessage("2012-02-29", on(2021, 3, 1)), "9 years old");
    EXPECT_EQ(membership::ageMessage("2020-05-10", on(2020, 5, 10)), "0 years old");
}

TEST(MemberAge, EmptyOrZeroDateHasNoAgeAndBadTextIsAConversionError) {
    const auto today = core::DateTime::fromParts(2020, 5, 10);
    EXPECT_FALSE(membership::ageMessage("   ", today));
    EXPECT_FALSE(membership::ageMessage("1899-12-30", today));
    try {
        membership::ageMessage("2000-13-01", today);
        FAIL() << "a month 13 was read as a date";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "'2000-13-01' is not a valid date");
    }
}

}  // namespace
