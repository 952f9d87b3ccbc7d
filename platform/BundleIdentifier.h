#pragma once

#include <compare>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A bundle identifier as the system compares it: letter case does not count ("com.Vendor.App" is
// "com.vendor.app"), and one identifier extends another only by whole parts, cut before a ".", "-"
// or "_" ("com.vendor.app.helper" extends "com.vendor.app"; "com.vendor.apple" does not).
class BundleIdentifier {
public:
    BundleIdentifier() = default;
    explicit BundleIdentifier(std::string_view spelled);

    // As written where it was read.
    const std::string& spelled() const { return spelled_; }
    // Lower-case: what equality, order and hashing use.
    const std::string& key() const { return key_; }
    bool empty() const { return key_.empty(); }

    friend bool operator==(const BundleIdentifier& a, const BundleIdentifier& b) { return a.key_ == b.key_; }
    friend std::strong_ordering operator<=>(const BundleIdentifier& a, const BundleIdentifier& b) { return a.key_ <=> b.key_; }

    // Whether two spellings name the same identifier (no copy made).
    static bool same(std::string_view a, std::string_view b);

    // Every start this identifier carries whole, shortest first and itself last, lower-case:
    // "com.vendor.app" gives "com", "com.vendor", "com.vendor.app".
    std::vector<std::string> wholeStarts() const;
    // Whether this identifier is `start` or extends it by whole parts.
    bool extends(const BundleIdentifier& start) const;

private:
    std::string spelled_;
    std::string key_;
};

template <>
struct std::hash<BundleIdentifier> {
    std::size_t operator()(const BundleIdentifier& identifier) const noexcept { return std::hash<std::string>{}(identifier.key()); }
};
