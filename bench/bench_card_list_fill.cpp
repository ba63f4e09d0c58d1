// Filling the main window's card list with 100,000 cards (fillCardList: the store's read, the
// rows handed to the list's model, and the window's handling of the change), beside the floor:
// the same rows read straight through the SQLite C API into memory. The window is the real one,
// drawn off screen.

#include <benchmark/benchmark.h>

#include <QApplication>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "CardDatabase.h"
#include "mainwindow/CardList.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/TypingOptions.h"
#include "platform/qt/MainWindow.h"

namespace {

namespace fs = std::filesystem;
using namespace velkora;

constexpr int Cards = 100000;

// The database, made once and removed at exit.
const std::string& databaseFile()
{
    static struct Made {
        Made()
        {
            dir = fs::temp_directory_path() / ("velkora-bench-fill-" + std::to_string(::getpid()));
            fs::create_directories(dir);
            file = (dir / "tamcard1.mdb").string();
            bench::makeCardDatabase(file, Cards);
        }
        ~Made()
        {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
        fs::path dir;
        std::string file;
    } made;
    return made.file;
}

struct Silent : MessageService {
    void showMessage(const std::string&, MessageIcon, const std::string&) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
};
struct NoClipboard : Clipboard {
    void setText(const std::string&) override {}
};
struct NoEditor : CardEditorOpener {
    void openCardEditor(EditorMode, const std::string&) override {}
};
struct NoSettings : Settings {
    std::string read(std::string_view, std::string_view, std::string_view defaultValue) const override
    {
        return std::string(defaultValue);
    }
    void write(std::string_view, std::string_view, std::string_view) override {}
};

void FillCardList(benchmark::State& state)
{
    CardStore store(std::make_unique<SqliteConnection>(), databaseFile());
    if (!store.openStore()) {
        state.SkipWithError("openStore failed");
        return;
    }
    Silent messages;
    NoClipboard clipboard;
    NoEditor editor;
    NoSettings settings;
    MainWindow window("www.tamrel.example");
    CardList cardList(window, store, messages, editor);
    QueryPanel queryPanel(window, store, messages, settings, clipboard);
    TypingOptions typing(window, settings);
    window.connectBehaviour(cardList, queryPanel, typing);
    window.show();
    QApplication::processEvents();

    for (auto _ : state) {
        cardList.fillCardList();
        QApplication::processEvents(); // the view takes in the new rows and repaints
    }
    state.counters["cards"] = Cards;
}
BENCHMARK(FillCardList)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The floor: the list's three columns of every row, read into memory and nothing else.
void RawSqliteRead(benchmark::State& state)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(databaseFile().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        state.SkipWithError("open failed");
        return;
    }
    auto text = [](sqlite3_stmt* stmt, int column) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))) : std::string();
    };
    for (auto _ : state) {
        std::vector<CardListEntry> rows;
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "select * from mb_data", -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            rows.push_back({text(stmt, 0), text(stmt, 1), text(stmt, 2)});
        sqlite3_finalize(stmt);
        if (rows.size() != static_cast<std::size_t>(Cards))
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_close(db);
    state.counters["cards"] = Cards;
}
BENCHMARK(RawSqliteRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    // Drawn off screen unless told otherwise, so that the figures need no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    databaseFile();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
