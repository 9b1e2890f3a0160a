// The book search over a library of 1,000,000 copies, through the shared
// query object as the search window runs it: the time until the first rows
// can be shown (opening the statement reads the first page), the time until
// the full count is known, and the cost of each further page as the grid
// scrolls.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "search/search_statements.h"
#include "store/connection.h"
#include "store/query.h"
#include "support/fixture.h"

namespace {

constexpr int kCopies = 1'000'000;

const char* const kWords1[] = {"The Secret", "A Journey", "Stories", "The Little",
                               "Adventures", "The Book",  "Tales",   "The Last",
                               "Letters",    "Songs",     "Laskar",  "Negeri"};
const char* const kWords2[] = {
    "of the Sea",    "to the Mountains", "from Java",    "of the Forest",     "in the Library",
    "of Stars",      "under the Rain",   "of the River", "for Young Readers", "of Numbers",
    "of the Island", "at School",        "Pelangi",      "Lima Menara"};
const char* const kAuthors[] = {"Andrea Hirata",    "Ahmad Tohari",      "Dee Lestari",
                                "Enid Blyton",      "Roald Dahl",        "Pramoedya A. Toer",
                                "Leila S. Chudori", "J. K. Rowling",     "Tere Liye",
                                "Astrid Lindgren",  "Sapardi D. Damono", "C. S. Lewis"};
const char* const kPublishers[] = {"Gramedia", "Bentang Pustaka", "Mizan",   "Balai Pustaka",
                                   "Penguin",  "Erlangga",        "Kanisius"};
const char* const kKeywords[] = {"fiction children", "reading school", "history", "science nature",
                                 "poetry"};

// The library, built once per run in a temporary installation: one prepared
// INSERT bound and stepped per copy, all inside one transaction.
struct Library {
    testing_support::TempInstallation inst;
    store::Connection db{"dbTOVIRAK"};
    double buildSeconds = 0;

    Library() {
        const auto started = std::chrono::steady_clock::now();
        db.setFileName(inst.library());
        db.setMultiUser(true);
        db.open();
        db.begin();
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(
            db.handle(),
            "INSERT INTO tBUKU (JENIS, KDBARANG, TITLE, AUTHOR, PUBLISHER, KEYWORD, CNKLS, CNRAK,"
            " CNBRS, DDC, BAHASA, STATUS, USIA) VALUES ('1', ?, ?, ?, ?, ?, 'LIB', ?, ?, ?, ?, "
            "'A', ?)",
            -1, &insert, nullptr);
        char code[20], title[80], rack[4], row[4], ddc[8];
        for (int i = 0; i < kCopies; ++i) {
            // 1,000 copies entered per day from 2020-01-01 on, codes unique.
            const int day = i / 1000, month = day / 28 % 12 + 1, year = 2020 + day / 336;
            std::snprintf(code, sizeof code, "1%04d%02d%02d%04d", year, month, day % 28 + 1,
                          i % 1000 + 1);
            std::snprintf(title, sizeof title, "%s %s %d", kWords1[i % 12], kWords2[(i / 12) % 14],
                          i % 97);
            std::snprintf(rack, sizeof rack, "R%02d", i % 40);
            std::snprintf(row, sizeof row, "%03d", i % 7);
            std::snprintf(ddc, sizeof ddc, "%03d", i % 1000);
            sqlite3_bind_text(insert, 1, code, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, title, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, kAuthors[i % 12], -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 4, kPublishers[i % 7], -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 5, kKeywords[i % 5], -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 6, rack, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 7, row, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 8, ddc, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 9, i % 3 ? "IND" : "ENG", -1, SQLITE_STATIC);
            sqlite3_bind_int(insert, 10, 6 + i % 12);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        db.commit();
        buildSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::fprintf(stderr, "library of %d copies built in %.1f s\n", kCopies, buildSeconds);
    }
};

Library& library() {
    static std::unique_ptr<Library> built = std::make_unique<Library>();
    return *built;
}

// What the librarian types, from every copy to a single one.
const char* const kTexts[] = {
    "",              // the box was empty: every copy
    "blyton",        // an author: one copy in twelve
    "lima menara",   // a title part: one copy in fourteen
    "120200115012",  // part of the item codes of ten copies entered one day
    "no such book",  // nothing at all
};

void describe(benchmark::State& state, store::Query& q) {
    state.SetLabel("\"" + std::string(kTexts[state.range(0)]) + "\"");
    state.counters["matches"] = static_cast<double>(q.recordCount());
}

// What every search does to the shared query: close it, set the statement
// and open it. The grid can show its first rows when this returns.
void runStatement(store::Query& q, const std::string& statement) {
    q.close();
    q.setSql(statement);
    q.open();
}

// The combined search of each text; with `fullCount`, then the full count of
// the result as well.
void combinedSearch(benchmark::State& state, bool fullCount) {
    Library& lib = library();
    store::Query q(lib.db, "tqBUKU", "SELECT * FROM tBUKU");
    const std::string statement =
        search::bookSearchStatement(search::BookSearch::Combined, kTexts[state.range(0)]);
    for (auto _ : state) {
        runStatement(q, statement);
        benchmark::DoNotOptimize(fullCount ? q.recordCount() : q.fetchedCount());
    }
    describe(state, q);
}

void BM_CombinedSearchFirstRows(benchmark::State& state) { combinedSearch(state, false); }

void BM_CombinedSearchFullCount(benchmark::State& state) { combinedSearch(state, true); }

// Enter on a scanned barcode: the item-code search for one whole code.
void BM_ItemCodeSearchOnEnter(benchmark::State& state) {
    Library& lib = library();
    store::Query q(lib.db, "tqBUKU", "SELECT * FROM tBUKU");
    const std::string typed = "1202001150123";
    const std::string statement =
        search::bookSearchStatement(search::bookSearchOnEnter(typed), typed);
    for (auto _ : state) {
        runStatement(q, statement);
        benchmark::DoNotOptimize(q.fetchedCount());
    }
    state.SetLabel("\"" + typed + "\"");
    state.counters["matches"] = static_cast<double>(q.recordCount());
}

// One more page (256 rows) as the grid scrolls down, at growing depth.
void BM_CombinedSearchNextPage(benchmark::State& state) {
    Library& lib = library();
    store::Query q(lib.db, "tqBUKU", "SELECT * FROM tBUKU");
    q.setSql(search::bookSearchStatement(search::BookSearch::Combined, kTexts[state.range(0)]));
    q.open();
    for (auto _ : state) {
        if (!q.canFetchMore() || q.fetchedCount() >= 60'000) {
            state.PauseTiming();
            q.open();
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(q.fetchMore());
    }
    state.counters["rows_at_end"] = static_cast<double>(q.fetchedCount());
    describe(state, q);
}

}  // namespace

BENCHMARK(BM_CombinedSearchFirstRows)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CombinedSearchFullCount)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ItemCodeSearchOnEnter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CombinedSearchNextPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
