#pragma once
// The per-user record that holds the login password's digest (32 lowercase hexadecimal digits).
// It is absent, empty or holds a digest; absent and empty both mean that no password is set.

#include <optional>
#include <string>
#include <string_view>

namespace velkora {

class PasswordRecord {
public:
    virtual ~PasswordRecord() = default;
    // No value when the record does not exist (or cannot be read); otherwise its text exactly.
    virtual std::optional<std::string> read() const = 0;
    // Creates or replaces the record. False when it could not be stored; callers may ignore it.
    virtual bool write(std::string_view digest) = 0;
    // Deletes the record; removing an absent record succeeds.
    virtual bool remove() = 0;
};

} // namespace velkora
