#pragma once
// Waiting on the GUI thread without freezing it: the wait keeps handling window events, so timers,
// hot keys and repaints go on while the caller waits.

namespace velkora {

class EventPump {
public:
    virtual ~EventPump() = default;
    // Returns after `milliseconds`, having handled every event that arrived meanwhile. Events may
    // run code that waits in turn (nested waits); each returns once its own time is up.
    virtual void waitProcessingEvents(int milliseconds) = 0;
};

} // namespace velkora
