// Figures for the card data: a lookup on a large card and the scrambling of a large grid.
#include <benchmark/benchmark.h>

#include <string>

#include "carddata/CoordinateLookup.h"
#include "carddata/FieldCodec.h"

namespace {

using namespace velkora;

// A 26 x 26 card with the letters A to Z: every cell a two-digit value.
CardRecord bigCard(Orientation orientation)
{
    CardRecord card;
    for (int row = 0; row < 26; ++row) {
        if (row > 0)
            card.grid += "\r\n";
        for (int cell = 0; cell < 26; ++cell) {
            if (cell > 0)
                card.grid += "-";
            card.grid += std::to_string(10 + (row * 26 + cell) * 7 % 90);
        }
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (letter > 'A')
            card.letters += ",";
        card.letters += letter;
    }
    card.orientation = orientationText(orientation);
    return card;
}

// A grid text of exactly 4 KiB: rows of twelve two-digit cells.
std::string gridOf4KiB()
{
    std::string grid;
    for (int i = 0; grid.size() < 4096; ++i) {
        if (i > 0)
            grid += i % 12 == 0 ? "\r\n" : "-";
        grid += std::to_string(10 + i * 7 % 90);
    }
    grid.resize(4096);
    return grid;
}

void lookupThreeCells(benchmark::State& state, Orientation orientation)
{
    const CardRecord card = bigCard(orientation);
    for (auto _ : state) {
        CoordinateQuery q = lookupCells(card, "A1", "M13", "Z26");
        benchmark::DoNotOptimize(q);
        if (!q.ok() || q.answers.size() != 3) {
            state.SkipWithError("lookup failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations()); // lookups of three cells
    state.counters["grid_bytes"] = static_cast<double>(card.grid.size());
}

void BM_LookupCells26x26Across(benchmark::State& state) { lookupThreeCells(state, Orientation::LettersAcross); }
void BM_LookupCells26x26Down(benchmark::State& state) { lookupThreeCells(state, Orientation::LettersDown); }
BENCHMARK(BM_LookupCells26x26Across);
BENCHMARK(BM_LookupCells26x26Down);

void BM_EncodeField4KiB(benchmark::State& state)
{
    const std::string grid = gridOf4KiB();
    for (auto _ : state) {
        std::string scrambled = encodeField(grid);
        benchmark::DoNotOptimize(scrambled);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(grid.size()));
}
BENCHMARK(BM_EncodeField4KiB);

void BM_DecodeField4KiB(benchmark::State& state)
{
    const std::string grid = gridOf4KiB();
    const std::string scrambled = encodeField(grid);
    for (auto _ : state) {
        std::string plain = decodeField(scrambled);
        benchmark::DoNotOptimize(plain);
        if (plain.size() != grid.size()) {
            state.SkipWithError("decode lost bytes");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(grid.size()));
}
BENCHMARK(BM_DecodeField4KiB);

} // namespace

BENCHMARK_MAIN();
