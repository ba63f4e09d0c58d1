#pragma once
// Start-up steps whose full behaviour arrives later, in their simplest honest form, so that the
// sequence already calls each of them in its place. Each is replaced as its own part is built.

#include "startup/StartupSequence.h"

// A namespace of their own keeps them apart from the full implementations as those arrive.
namespace velkora::interim {

// No login password is asked for yet: every start may go on.
class OpenLogin final : public LoginGate {
public:
    bool checkLoginPassword() override { return true; }
};

// No update check yet: nothing goes out to the network and start-up always goes on.
class NoUpdateCheck final : public UpdateCheck {
public:
    bool checkForUpdate(const std::string&) override { return true; }
};

// The survey window is not shown yet.
class NoSurvey final : public SurveyWindow {
public:
    void openSurvey() override {}
};


} // namespace velkora::interim
