#pragma once
// Waits on the GUI thread in a local event loop, so the windows, timers and hot keys stay alive.

#include "mainwindow/EventPump.h"

namespace velkora {

class QtEventPump final : public EventPump {
public:
    void waitProcessingEvents(int milliseconds) override;
};

} // namespace velkora
