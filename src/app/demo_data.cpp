// The demo library: a few hundred copies, families with members, some open
// loans and some history, consistent with each other.

#include <cstdio>

#include "app/installation.h"
#include "core/date_time.h"
#include "store/connection.h"
#include "store/key_values.h"
#include "store/table.h"

namespace app {

namespace {

const char* const kTitleWords1[] = {"The Secret", "A Journey", "Stories", "The Little", "Adventures",
                                    "The Book", "Tales", "The Last", "Letters", "Songs"};
const char* const kTitleWords2[] = {"of the Sea", "to the Mountains", "from Java", "of the Forest",
                                    "in the Library", "of Stars", "under the Rain", "of the River",
                                    "for Young Readers", "of Numbers", "of the Island", "at School"};
const char* const kAuthors[] = {"Andrea Hirata", "Ahmad Tohari", "Dee Lestari", "Enid Blyton",
                                "Roald Dahl", "Pramoedya A. Toer", "Leila S. Chudori", "J. K. Rowling",
                                "Tere Liye", "Astrid Lindgren", "Sapardi D. Damono", "C. S. Lewis"};
const char* const kPublishers[] = {"Gramedia", "Bentang Pustaka", "Mizan", "Balai Pustaka",
                                   "Penguin", "Erlangga", "Kanisius"};
const char* const kFamilies[] = {"RIVERSIDE", "SANTOSO", "WIJAYA", "HALIM", "KUSUMA", "PRATAMA",
                                 "SUTANTO", "GUNAWAN", "HARTONO", "SALIM", "LESMANA", "TANJUNG",
                                 "NUGROHO", "SETIAWAN", "WIBOWO", "PURNOMO", "HIDAYAT", "BUDIMAN"};
const char* const kCallNames[] = {"ELDEST", "ANI", "BUDI", "CITRA", "DODI"};
const char* const kFirstNames[] = {"Eldest", "Ani", "Budi", "Citra", "Dodi"};

void set(store::Table& t, const char* field, const std::string& value) { t.setString(field, value); }

}  // namespace

void addDemoData(const std::string& directory) {
    store::Connection lib("dbTOVIRAK");
    lib.setFileName(directory + "/TOVIRAK.ABS");
    lib.open();
    lib.begin();
    store::Table title(lib, "tTitle"), author(lib, "tAuthor"), publisher(lib, "tPublisher");
    store::Table buku(lib, "tBUKU"), family(lib, "tKELUARGA"), member(lib, "tANGGOTA");
    store::Table kartu(lib, "tKARTU"), sejarah(lib, "tSEJARAH");
    for (auto* t : {&title, &author, &publisher, &buku, &family, &member, &kartu, &sejarah}) t->open();

    for (const char* a : kAuthors) {
        author.insert();
        set(author, "AUTHOR", a);
        author.post();
    }
    for (const char* p : kPublishers) {
        publisher.insert();
        set(publisher, "PUBLISHER", p);
        publisher.post();
    }
    std::vector<std::string> titles;
    for (const char* a : kTitleWords1)
        for (const char* b : kTitleWords2) titles.push_back(std::string(a) + " " + b);
    for (const auto& t : titles) {
        title.insert();
        set(title, "JENIS", "1");
        set(title, "TITLE", t);
        title.post();
    }

    // 300 copies entered on two days, 150 each.
    const core::DateTime day1 = core::DateTime::fromParts(2026, 11, 2, 9, 0, 0);
    const core::DateTime day2 = core::DateTime::fromParts(2026, 11, 16, 9, 0, 0);
    std::vector<std::string> codes;
    std::string lastCode;
    for (int i = 0; i < 300; ++i) {
        const core::DateTime entered = (i < 150 ? day1 : day2).addSeconds(i * 60);
        char code[20];
        std::snprintf(code, sizeof code, "1%s%04d", entered.toCompactDate().c_str(), i % 150 + 1);
        const std::string& t = titles[static_cast<std::size_t>(i * 7) % titles.size()];
        const char* au = kAuthors[i % 12];
        buku.insert();
        set(buku, "JENIS", "1");
        set(buku, "KDBARANG", code);
        set(buku, "TITLE", t);
        set(buku, "AUTHOR", au);
        set(buku, "PUBLISHER", kPublishers[i % 7]);
        set(buku, "CNKLS", "LIB");
        char rack[4], row[4], ddc[8];
        std::snprintf(rack, sizeof rack, "R%02d", i % 12 + 1);
        std::snprintf(row, sizeof row, "%03d", i % 5 + 1);
        std::snprintf(ddc, sizeof ddc, "%d%02d", (i % 9) + 1, (i * 3) % 100);
        set(buku, "CNRAK", rack);
        set(buku, "CNBRS", row);
        set(buku, "UDC", std::to_string((i % 9) + 1));
        set(buku, "DDC", ddc);
        set(buku, "BAHASA", i % 3 ? "IND" : "ENG");
        set(buku, "KONDISI", "100%");
        set(buku, "KEYWORD", i % 2 ? "fiction children" : "reading school");
        set(buku, "USIA", std::to_string(8 + i % 8));
        set(buku, "PTGSNEW", kDeliveredAdminName);
        buku.setDateTime("TGNEW", entered);
        buku.post();
        codes.push_back(code);
        lastCode = code;
    }

    // Families with two to four members each.
    std::vector<std::pair<std::string, std::string>> members;  // code, name
    int n = 0;
    for (const char* f : kFamilies) {
        family.insert();
        set(family, "KDFKELUARGA", f);
        set(family, "ALAMAT", std::string("Jl. Melati No. ") + std::to_string(10 + n));
        set(family, "TELP", "0274-55" + std::to_string(1000 + n));
        set(family, "MRNAMA", std::string("Bapak ") + f);
        set(family, "MSNAMA", std::string("Ibu ") + f);
        family.post();
        for (int m = 0; m < 2 + n % 3; ++m) {
            std::string code = std::string(kCallNames[m]) + "." + f;
            std::string name = std::string(kFirstNames[m]) + " " + f;
            member.insert();
            set(member, "KDFANGGOTA", code);
            set(member, "KDFKELUARGA", f);
            set(member, "NMANGGOTA", name);
            set(member, "ALAMAT", std::string("Jl. Melati No. ") + std::to_string(10 + n));
            set(member, "KELAS", std::to_string(1 + (n + m) % 6) + "A");
            member.setFloat("DENDA", 500);
            member.setInteger("MAXPINJAM", 2 + m % 2);
            member.setInteger("LAMAPINJAM", 7);
            member.post();
            members.emplace_back(code, name);
        }
        ++n;
    }

    // Ten open loans, one per member for the first ten members, and a few
    // finished ones in the history.
    const core::DateTime lent = core::DateTime::fromParts(2026, 12, 1, 10, 30, 0);
    buku.setIndexName("iKodeBuku");
    member.setIndexName("iKDFANGGOTA");
    for (int i = 0; i < 10; ++i) {
        const auto& [mcode, mname] = members[static_cast<std::size_t>(i)];
        const std::string& code = codes[static_cast<std::size_t>(i * 11)];
        buku.findKey({code});
        member.findKey({mcode});
        const core::DateTime due = lent.addDays(7);
        kartu.insert();
        kartu.setDateTime("TGTRAN", lent);
        set(kartu, "KDBARANG", code);
        set(kartu, "TITLE", buku.asString("TITLE"));
        set(kartu, "AUTHOR", buku.asString("AUTHOR"));
        set(kartu, "PUBLISHER", buku.asString("PUBLISHER"));
        set(kartu, "KDFANGGOTA", mcode);
        set(kartu, "NMANGGOTA", mname);
        set(kartu, "KDFKELUARGA", member.asString("KDFKELUARGA"));
        set(kartu, "KELAS", member.asString("KELAS"));
        set(kartu, "KDPETUGASB", kDeliveredAdminName);
        kartu.setDateTime("TGPINJAM", lent);
        kartu.setDateTime("TGJANJI", due);
        kartu.setFloat("DENDA", member.asFloat("DENDA"));
        set(kartu, "STATUS", "B");
        kartu.post();
        buku.edit();
        set(buku, "STATUS", "B");
        set(buku, "KDFANGGOTA", mcode);
        set(buku, "KDPETUGASB", kDeliveredAdminName);
        buku.setDateTime("TGPINJAM", lent);
        buku.setDateTime("TGJANJI", due);
        buku.setDateTime("TGKEMBALI", core::DateTime());
        buku.post();
        member.edit();
        member.setInteger("JLHPINJAM", 1);
        member.post();
    }
    const core::DateTime earlier = core::DateTime::fromParts(2026, 11, 20, 11, 0, 0);
    for (int i = 0; i < 8; ++i) {
        const auto& [mcode, mname] = members[static_cast<std::size_t>(i + 12)];
        const std::string& code = codes[static_cast<std::size_t>(200 + i)];
        buku.findKey({code});
        const core::DateTime due = earlier.addDays(7), back = earlier.addDays(7 + i % 4);
        const long daysLate = back.secondsSince(due) / 86400;
        sejarah.insert();
        sejarah.setDateTime("TGTRAN", back);
        set(sejarah, "KDBARANG", code);
        set(sejarah, "TITLE", buku.asString("TITLE"));
        set(sejarah, "AUTHOR", buku.asString("AUTHOR"));
        set(sejarah, "PUBLISHER", buku.asString("PUBLISHER"));
        set(sejarah, "KDFANGGOTA", mcode);
        set(sejarah, "NMANGGOTA", mname);
        set(sejarah, "KDPETUGASB", kDeliveredAdminName);
        set(sejarah, "KDPETUGASR", kDeliveredAdminName);
        sejarah.setDateTime("TGPINJAM", earlier);
        sejarah.setDateTime("TGJANJI", due);
        sejarah.setDateTime("TGKEMBALI", back);
        set(sejarah, "STATUS", "R");
        sejarah.setInteger("DENDAHARI", daysLate);
        sejarah.setFloat("DENDA", 500);
        sejarah.setFloat("DENDAPAID", 500.0 * static_cast<double>(daysLate));
        sejarah.post();
        buku.edit();
        set(buku, "STATUS", "A");
        set(buku, "KDFANGGOTA", mcode);
        buku.setDateTime("TGPINJAM", earlier);
        buku.setDateTime("TGJANJI", due);
        buku.setDateTime("TGKEMBALI", back);
        set(buku, "KDPETUGASR", kDeliveredAdminName);
        buku.post();
    }
    lib.commit();

    store::Connection users("dbSETSRV");
    users.setFileName(directory + "/SETSRV.ABS");
    users.open();
    store::Table umum(users, "umum");
    store::writeVariable(umum, store::kCountersLayout, "LastRec", lastCode);
    store::Table user(users, "USER");
    user.open();
    for (auto [name, password, level, id] :
         {std::tuple{"Librarian", "librarian", "2", "LIB-01"}, std::tuple{"Assistant", "assistant", "3", "AST-01"}}) {
        user.insert();
        set(user, "USERNAME", name);
        set(user, "USERPSWD", password);
        set(user, "USERLEVEL", level);
        set(user, "USERID", id);
        user.post();
    }
}

}  // namespace app
