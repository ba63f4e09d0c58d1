// A writer process is killed at random moments, over and over. Every write it reported as done
// before it died must be there afterwards: the cards in the database and the keys of config.ini.

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "carddata/CardGrid.h"
#include "carddata/CardStore.h"
#include "platform/files/IniSettings.h"
#include "platform/sqlite/SqliteConnection.h"
#include "support/TempDir.h"

namespace velkora {
namespace {

constexpr int MaxKills = 200;
constexpr auto TimeBudget = std::chrono::seconds(20);
// Longest life of one writer before it is killed. A durable write takes tens of milliseconds (its
// syncs), so most kills land inside one.
constexpr int MaxDelayUs = 200000;

// What a writer reports, one record per completed step, written to a pipe in one write() each
// (atomic for records this small), so a record is either wholly there or not at all.
enum class Step : std::int32_t { Inserted = 1, Updated = 2, SettingWritten = 3 };
struct Report {
    Step step;
    std::int32_t generation;
    std::int32_t index;
};

std::string account(int generation, int index)
{
    return "g" + std::to_string(generation) + "-" + std::to_string(index);
}

std::string serial(int generation, int index)
{
    return "SN'" + account(generation, index);
}

// Large enough (16 KB stored) that one write spans several database pages, so a write cut short
// would show as a torn grid or a damaged file.
std::string grid(int generation, int index, int version)
{
    std::string text = std::to_string(generation) + "-" + std::to_string(index) + "-" + std::to_string(version);
    while (text.size() < 8000)
        text += "\r\n" + std::to_string(version) + "1-22-33-44-55-66-77-88-99";
    return text;
}

CardRecord card(int generation, int index, int version)
{
    return CardRecord{0,
                      "crash",
                      account(generation, index),
                      serial(generation, index),
                      orientationText(Orientation::LettersAcross),
                      grid(generation, index, version),
                      "A,B,C"};
}

// The writer: inserts a card, writes a settings key, updates the card, reporting each step once it
// has returned success, until it is killed. Runs in the forked child; never returns.
[[noreturn]] void writer(const std::string& database, const std::filesystem::path& settingsFile, int generation,
                         int reportFd)
{
    const auto report = [&](Step step, int index) {
        const Report r{step, generation, index};
        if (::write(reportFd, &r, sizeof r) != static_cast<ssize_t>(sizeof r))
            ::_exit(5);
    };
    CardStore store(std::make_unique<SqliteConnection>(), database);
    if (!store.openStore())
        ::_exit(3);
    IniSettings settings(settingsFile);
    for (int index = 0;; ++index) {
        if (!store.insertCard(card(generation, index, 0)))
            ::_exit(4);
        report(Step::Inserted, index);
        settings.write("run", account(generation, index), serial(generation, index));
        report(Step::SettingWritten, index);
        if (!store.updateCard(account(generation, index), card(generation, index, 1)))
            ::_exit(4);
        report(Step::Updated, index);
    }
}

using testing::TempDir;

std::string integrityOf(const std::string& database)
{
    sqlite3* db = nullptr;
    std::string result;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "pragma integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    else
        result = sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

TEST(StoreCrash, EveryWriteReportedBeforeAKillIsKept)
{
    TempDir dir;
    const std::string database = (dir.path() / "tamcard1.mdb").string();
    const auto settingsFile = dir.path() / "config.ini";
    {
        CardStore store(std::make_unique<SqliteConnection>(), database);
        store.createDefaultDatabase();
        ASSERT_TRUE(store.openStore());
    }

    // Per card (generation, index): the last step reported.
    std::map<std::pair<int, int>, Step> reported;
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayUs(0, MaxDelayUs);
    const auto start = std::chrono::steady_clock::now();
    int kills = 0;
    for (int generation = 0; kills < MaxKills && std::chrono::steady_clock::now() - start < TimeBudget;
         ++generation) {
        int fds[2];
        ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            writer(database, settingsFile, generation, fds[1]);
        }
        ::close(fds[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the writer gave up with code " << WEXITSTATUS(status);
        ++kills;

        Report r{};
        while (::read(fds[0], &r, sizeof r) == static_cast<ssize_t>(sizeof r))
            reported[{r.generation, r.index}] = r.step;
        ::close(fds[0]);
    }

    // Opening rolls back the write the last writer was killed in, if any.
    CardStore store(std::make_unique<SqliteConnection>(), database);
    ASSERT_TRUE(store.openStore());
    EXPECT_EQ(integrityOf(database), "ok");
    IniSettings settings(settingsFile);
    int cardsChecked = 0, updatesChecked = 0, settingsChecked = 0;
    for (const auto& [key, step] : reported) {
        const auto [generation, index] = key;
        SCOPED_TRACE(account(generation, index));
        const auto found = store.findCardByAccount(account(generation, index));
        ASSERT_TRUE(found) << "a card whose insert succeeded is gone";
        EXPECT_EQ(found->serial, serial(generation, index));
        ++cardsChecked;
        // A later step may have completed without being reported; an earlier one never undone.
        if (step == Step::Updated) {
            EXPECT_EQ(found->grid, grid(generation, index, 1));
            ++updatesChecked;
        } else {
            EXPECT_TRUE(found->grid == grid(generation, index, 0) || found->grid == grid(generation, index, 1));
        }
        if (step != Step::Inserted) {
            EXPECT_EQ(settings.read("run", account(generation, index), "missing"), serial(generation, index));
            ++settingsChecked;
        }
    }
    EXPECT_GT(cardsChecked, 0);

    // Writes in flight when a writer died are either wholly there or not at all.
    int cardsStored = 0;
    for (const CardListEntry& entry : store.listAllCards()) {
        SCOPED_TRACE(entry.account);
        const auto found = store.findCardByAccount(entry.account);
        ASSERT_TRUE(found);
        const auto dash = entry.account.find('-');
        const int generation = std::stoi(entry.account.substr(1, dash - 1));
        const int index = std::stoi(entry.account.substr(dash + 1));
        EXPECT_EQ(found->serial, serial(generation, index));
        EXPECT_TRUE(found->grid == grid(generation, index, 0) || found->grid == grid(generation, index, 1));
        ++cardsStored;
    }
    std::cout << "writers killed: " << kills << ", cards stored: " << cardsStored
              << ", cards reported and checked: " << cardsChecked << ", updates checked: " << updatesChecked
              << ", settings keys checked: " << settingsChecked << ", in "
              << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count()
              << " ms\n";
}

} // namespace
} // namespace velkora
