// The type-ahead prefix statement over large title lists, through the query
// object: what one keystroke costs before the drop-down can refresh.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

#include "store/connection.h"
#include "store/query.h"
#include "store/sql_dialect.h"
#include "support/fixture.h"

namespace {

// One library per size, built once per run: titles made of a word from a
// fixed list and a number, so every prefix has a realistic share of matches.
struct Library {
    testing_support::TempInstallation inst;
    store::Connection db{"dbTOVIRAK"};
    explicit Library(int titles) {
        db.setFileName(inst.library());
        db.open();
        static const char* const words[] = {"Harry", "Hari", "Habis", "Laskar", "Bumi", "Cantik", "Ronggeng",
                                            "Pulang", "Negeri", "Ayat", "Sang", "Perahu", "Ziarah", "Gadis"};
        db.begin();
        for (int i = 0; i < titles; ++i) {
            char title[64];
            std::snprintf(title, sizeof title, "%s %d", words[i % 14], i);
            db.execute("INSERT INTO tTitle (JENIS, TITLE) VALUES ('1', ?)", {std::string(title)});
        }
        db.commit();
    }
};

Library& library(int titles) {
    static std::map<int, std::unique_ptr<Library>> built;
    auto& slot = built[titles];
    if (!slot) slot = std::make_unique<Library>(titles);
    return *slot;
}

std::string prefixStatement(const std::string& typed) {
    return "SELECT * FROM tTitle WHERE SUBSTRING(UPPER(TITLE) FROM 1 FOR " + std::to_string(typed.size()) +
           ")=" + store::sqlLiteral(typed);
}

// Time until the first page of the drop-down is there.
void BM_PrefixFirstPage(benchmark::State& state) {
    Library& lib = library(static_cast<int>(state.range(0)));
    store::Query q(lib.db, "tqTitle", "SELECT * FROM tTitle", {"TITLE"});
    const char* typed[] = {"H", "HA", "HAR", "HARR", "HARRY 7"};
    std::size_t i = 0;
    for (auto _ : state) {
        q.setSql(prefixStatement(typed[i++ % 5]));
        q.open();
        benchmark::DoNotOptimize(q.fetchedCount());
    }
}

// A prefix that matches almost nothing: the whole list is looked at unless
// the condition can use the index.
void BM_PrefixRareMatch(benchmark::State& state) {
    Library& lib = library(static_cast<int>(state.range(0)));
    store::Query q(lib.db, "tqTitle", "SELECT * FROM tTitle", {"TITLE"});
    for (auto _ : state) {
        q.setSql(prefixStatement("ZIARAH 99999"));
        q.open();
        benchmark::DoNotOptimize(q.fetchedCount());
    }
}

}  // namespace

BENCHMARK(BM_PrefixFirstPage)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrefixRareMatch)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
