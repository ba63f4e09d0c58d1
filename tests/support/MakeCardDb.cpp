// Writes a card database with the given cards through the card store, the way the program stores
// them (serial number and grid scrambled), so that end-to-end tests start with cards on file.
//
//   velkora_make_card_db DATABASE TYPE ACCOUNT SERIAL across|down GRID LETTERS [TYPE ACCOUNT ...]
//
// Texts are UTF-8. GRID has its rows on separate lines (LF, or CR LF) and its cells separated by
// "-"; LETTERS are separated by ",". A database that does not exist yet is created first.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "carddata/CardGrid.h"
#include "carddata/CardStore.h"
#include "carddata/Text.h"
#include "platform/sqlite/SqliteConnection.h"

namespace {

constexpr int FieldsPerCard = 6;

// Rows end in CR LF in a stored grid, whatever the shell gave us.
std::string crlfRows(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

int usage(const char* program)
{
    std::fprintf(stderr, "usage: %s DATABASE TYPE ACCOUNT SERIAL across|down GRID LETTERS [...]\n", program);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace velkora;
    if (argc < 2 + FieldsPerCard || (argc - 2) % FieldsPerCard != 0)
        return usage(argv[0]);

    const std::string path = argv[1];
    CardStore store(std::make_unique<SqliteConnection>(), path);
    if (!std::filesystem::exists(path))
        store.createDefaultDatabase();
    if (!store.openStore()) {
        std::fprintf(stderr, "cannot open the card database %s\n", path.c_str());
        return 1;
    }

    for (int first = 2; first < argc; first += FieldsPerCard) {
        char** field = argv + first;
        Orientation orientation;
        if (std::strcmp(field[3], "across") == 0)
            orientation = Orientation::LettersAcross;
        else if (std::strcmp(field[3], "down") == 0)
            orientation = Orientation::LettersDown;
        else
            return usage(argv[0]);
        const CardRecord card{0,
                              utf8ToGb(field[0]),
                              utf8ToGb(field[1]),
                              utf8ToGb(field[2]),
                              orientationText(orientation),
                              utf8ToGb(crlfRows(field[4])),
                              utf8ToGb(field[5])};
        if (!store.insertCard(card)) {
            std::fprintf(stderr, "cannot store the card %s\n", field[1]);
            return 1;
        }
    }
    store.closeStore();
    return 0;
}
