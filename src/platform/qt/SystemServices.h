#pragma once
// The local clock and the memory trim of the status bar's clock tick.

#include "mainwindow/WindowShell.h"

namespace velkora {

class QtLocalClock final : public Clock {
public:
    LocalTime localNow() const override;
};

// Returns the heap's free memory to the system (glibc's malloc_trim).
class HeapTrimmer final : public MemoryTrimmer {
public:
    void trimMemory() override;
};

} // namespace velkora
