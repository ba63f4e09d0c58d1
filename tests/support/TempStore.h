#pragma once
// A card store on a fresh database in a temporary directory, removed again afterwards.

#include <filesystem>
#include <memory>
#include <string>

#include "carddata/CardStore.h"
#include "platform/sqlite/SqliteConnection.h"
#include "support/TempDir.h"

namespace velkora::testing {

struct TempStore {
    TempDir dir;
    CardStore store{std::make_unique<SqliteConnection>(), dir.file("tamcard1.mdb")};

    TempStore()
    {
        store.createDefaultDatabase();
        if (!store.openStore())
            throw std::runtime_error("cannot open a fresh card store");
    }

    // Adds a card with a small 2 x 2 grid across and returns it as stored.
    CardRecord add(const std::string& type, const std::string& account, const std::string& serial = "SN",
                   const std::string& grid = "11-12\r\n21-22", const std::string& letters = "A,B")
    {
        CardRecord card{0, type, account, serial, orientationText(Orientation::LettersAcross), grid, letters};
        if (!store.insertCard(card))
            throw std::runtime_error("insert failed");
        return card;
    }
};

} // namespace velkora::testing
