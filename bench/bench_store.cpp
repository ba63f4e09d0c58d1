// The card store's reads at 10,000 and 100,000 cards, each beside the same query made directly
// through the SQLite C API on the same file, with the ratio store / direct printed at the end.
// The direct reading fetches the same columns as text and nothing more: no conversion from UTF-8,
// no unscrambling, so the ratio is everything the store adds over SQLite itself.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "carddata/CardGrid.h"
#include "carddata/CardStore.h"
#include "carddata/FieldCodec.h"
#include "carddata/Text.h"
#include "platform/sqlite/SqliteConnection.h"

namespace {

using namespace velkora;

// One account in a hundred holds the search keyword.
constexpr const char* Keyword = "vip";

std::string accountOf(int i)
{
    char text[64];
    std::snprintf(text, sizeof text, "player%06d%s@mail.example", i, i % 100 == 37 ? Keyword : "");
    return text;
}

// Card types as users name them: game titles, half of them Chinese.
const char* const TypeNames[] = {"QQ", "网易将军令", "WoW", "魔兽世界", "Battle.net", "盛大密宝"};

struct Database {
    std::filesystem::path dir;
    std::string file;
};

void check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

// A database of `cards` cards, made once per size and removed at exit.
const Database& database(int cards)
{
    static std::map<int, Database> made;
    static struct Cleanup {
        ~Cleanup()
        {
            for (const auto& [n, db] : made)
                std::filesystem::remove_all(db.dir);
        }
    } cleanup;
    if (auto it = made.find(cards); it != made.end())
        return it->second;

    std::string pattern = (std::filesystem::temp_directory_path() / "velkora-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    Database result{pattern, pattern + "/tamcard1.mdb"};
    CardStore(std::make_unique<SqliteConnection>(), result.file).createDefaultDatabase();

    // Filled directly in one transaction, with what insertCard would store.
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(result.file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    check(sqlite3_exec(db, "begin", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db,
                             "insert into mb_data (mb_type,mb_account,mb_sn,mb_xandy,mb_text,mb_letter) "
                             "values (?,?,?,?,?,?)",
                             -1, &insert, nullptr),
          db, "prepare");
    const std::string grid = "13-15-23-45-55-82\r\n99-15-21-16-45-33\r\n72-33-55-66-88-99\r\n31-54-1-45-8-32";
    const std::string orientation = gbToUtf8(orientationText(Orientation::LettersAcross));
    for (int i = 0; i < cards; ++i) {
        const std::string account = accountOf(i);
        const std::string serial = encodeField("SN" + std::to_string(1000000 + i));
        const std::string scrambled = encodeField(grid);
        const char* type = TypeNames[i % std::size(TypeNames)];
        sqlite3_bind_text(insert, 1, type, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, account.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, serial.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, orientation.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, scrambled.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 6, "A,B,C,D,E,F", -1, SQLITE_STATIC);
        check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
    return made.emplace(cards, std::move(result)).first->second;
}

// ---- through the store ----------------------------------------------------------------------

struct OpenStore {
    explicit OpenStore(int cards) : store(std::make_unique<SqliteConnection>(), database(cards).file)
    {
        if (!store.openStore())
            throw std::runtime_error("openStore failed");
    }
    CardStore store;
};

void storeListAll(benchmark::State& state, int cards)
{
    OpenStore open(cards);
    for (auto _ : state) {
        auto entries = open.store.listAllCards();
        if (entries.size() != static_cast<std::size_t>(cards))
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(entries);
    }
}

void storeSearch(benchmark::State& state, int cards)
{
    OpenStore open(cards);
    for (auto _ : state) {
        auto entries = open.store.searchCards(SearchColumn::Account, Keyword);
        if (entries.size() != static_cast<std::size_t>(cards / 100))
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(entries);
    }
}

void storeFind(benchmark::State& state, int cards)
{
    OpenStore open(cards);
    const std::string account = accountOf(cards / 2);
    for (auto _ : state) {
        auto card = open.store.findCardByAccount(account);
        if (!card)
            state.SkipWithError("not found");
        benchmark::DoNotOptimize(card);
    }
}

// ---- directly through SQLite ----------------------------------------------------------------

struct Raw {
    explicit Raw(int cards)
    {
        if (sqlite3_open_v2(database(cards).file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK)
            throw std::runtime_error("open failed");
    }
    ~Raw() { sqlite3_close(db); }
    Raw(const Raw&) = delete;
    Raw& operator=(const Raw&) = delete;

    // The statement prepared afresh each time, as the store does.
    sqlite3_stmt* prepare(const char* sql, const char* param = nullptr) const
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        if (param != nullptr)
            sqlite3_bind_text(stmt, 1, param, -1, SQLITE_TRANSIENT);
        return stmt;
    }

    sqlite3* db = nullptr;
};

std::string columnText(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))) : std::string();
}

std::vector<CardListEntry> rawEntries(sqlite3_stmt* stmt)
{
    std::vector<CardListEntry> entries;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        entries.push_back({columnText(stmt, 0), columnText(stmt, 1), columnText(stmt, 2)});
    sqlite3_finalize(stmt);
    return entries;
}

void rawListAll(benchmark::State& state, int cards)
{
    Raw raw(cards);
    for (auto _ : state) {
        auto entries = rawEntries(raw.prepare("select * from mb_data"));
        if (entries.size() != static_cast<std::size_t>(cards))
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(entries);
    }
}

void rawSearch(benchmark::State& state, int cards)
{
    Raw raw(cards);
    for (auto _ : state) {
        auto entries = rawEntries(raw.prepare("select * from mb_data where mb_account like '%' || ? || '%'", Keyword));
        if (entries.size() != static_cast<std::size_t>(cards / 100))
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(entries);
    }
}

void rawFind(benchmark::State& state, int cards)
{
    Raw raw(cards);
    const std::string account = accountOf(cards / 2);
    for (auto _ : state) {
        sqlite3_stmt* stmt = raw.prepare("select * from mb_data where mb_account=?", account.c_str());
        std::optional<CardRecord> card;
        if (sqlite3_step(stmt) == SQLITE_ROW)
            card = CardRecord{0,
                              columnText(stmt, 1),
                              columnText(stmt, 2),
                              columnText(stmt, 3),
                              columnText(stmt, 4),
                              columnText(stmt, 5),
                              columnText(stmt, 6)};
        sqlite3_finalize(stmt);
        if (!card)
            state.SkipWithError("not found");
        benchmark::DoNotOptimize(card);
    }
}

// ---- the ratio summary ----------------------------------------------------------------------

// Prints as the console reporter does and keeps every time, for the ratios at the end: the median
// when the runs are repeated (--benchmark_repetitions), else the one run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const std::string name = run.run_name.str();
            if (median || (run.run_type == Run::RT_Iteration && !medians.count(name)))
                times[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            if (median)
                medians.insert(name);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::set<std::string> medians;
    struct Times {
        double real;
        double cpu;
    };
    std::map<std::string, Times> times;
};

} // namespace

int main(int argc, char** argv)
{
    const struct {
        const char* name;
        void (*store)(benchmark::State&, int);
        void (*raw)(benchmark::State&, int);
    } queries[] = {
        {"listAllCards", storeListAll, rawListAll},
        {"searchCards", storeSearch, rawSearch},
        {"findCardByAccount", storeFind, rawFind},
    };
    const int sizes[] = {10000, 100000};
    // name/store/N and name/sqlite/N
    const auto nameOf = [](const char* query, const char* side, int cards) {
        char name[96];
        std::snprintf(name, sizeof name, "%s/%s/%d", query, side, cards);
        return std::string(name);
    };
    for (const auto& q : queries) {
        for (const int cards : sizes) {
            benchmark::RegisterBenchmark(nameOf(q.name, "store", cards).c_str(), q.store, cards)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(nameOf(q.name, "sqlite", cards).c_str(), q.raw, cards)
                ->Unit(benchmark::kMillisecond);
        }
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // On a busy machine the wall-clock times include waiting for a core; the CPU times do not.
    std::cout << "\nstore / direct SQLite (target at 100000 cards: 1.5 or less)\n";
    for (const auto& q : queries) {
        for (const int cards : sizes) {
            const auto store = reporter.times.find(nameOf(q.name, "store", cards));
            const auto raw = reporter.times.find(nameOf(q.name, "sqlite", cards));
            if (store == reporter.times.end() || raw == reporter.times.end() || raw->second.real <= 0 ||
                raw->second.cpu <= 0)
                continue;
            const auto& [storeReal, storeCpu] = store->second;
            const auto& [rawReal, rawCpu] = raw->second;
            std::printf("  %-18s %7d cards  wall %8.3f vs %8.3f ms, ratio %.2f   cpu %8.3f vs %8.3f ms, ratio %.2f\n",
                        q.name, cards, storeReal, rawReal, storeReal / rawReal, storeCpu, rawCpu, storeCpu / rawCpu);
        }
    }
    return 0;
}
