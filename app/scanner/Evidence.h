#pragma once

#include <compare>
#include <cstddef>

// What makes an entry an application's, strongest first: its identifier (its own, one of an
// application or extension inside its bundle, or a group it declares), its name (display or bundle
// name), or only its executable's name. Between claims of equal strength the longer token wins: the
// longer identifier, the name that covers more of the entry.
struct Evidence {
    enum class Strength { none, executable, name, identifier };

    Strength strength = Strength::none;
    std::size_t length = 0;

    explicit operator bool() const { return strength != Strength::none; }
    auto operator<=>(const Evidence&) const = default;
};
