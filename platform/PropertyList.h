#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Property-list values (Info.plist, launchd job files, user defaults, bookmarks, IPC messages) and
// their XML and binary encodings, read and written with libplist.
namespace plist {

class Value;
using Array = std::vector<Value>;
using Dictionary = std::map<std::string, Value, std::less<>>;
struct Data {
    std::string bytes;
    bool operator==(const Data&) const = default;
};
// Seconds since 2001-01-01 00:00:00 UTC, the reference date of property lists.
struct Date {
    double sinceReferenceDate = 0;
    static constexpr double kReferenceToUnix = 978307200.0;
    static Date fromUnix(double unixSeconds) { return Date{unixSeconds - kReferenceToUnix}; }
    double unixSeconds() const { return sinceReferenceDate + kReferenceToUnix; }
    bool operator==(const Date&) const = default;
};

class Value {
public:
    using Storage = std::variant<std::monostate, bool, std::int64_t, double, std::string, Data, Date, Array, Dictionary>;

    Value() = default;
    Value(bool v) : storage_(v) {}
    Value(int v) : storage_(static_cast<std::int64_t>(v)) {}
    Value(std::int64_t v) : storage_(v) {}
    Value(double v) : storage_(v) {}
    Value(const char* v) : storage_(std::string(v)) {}
    Value(std::string v) : storage_(std::move(v)) {}
    Value(Data v) : storage_(std::move(v)) {}
    Value(Date v) : storage_(v) {}
    Value(Array v) : storage_(std::move(v)) {}
    Value(Dictionary v) : storage_(std::move(v)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(storage_); }
    template <typename T> bool is() const { return std::holds_alternative<T>(storage_); }
    template <typename T> const T* get() const { return std::get_if<T>(&storage_); }
    template <typename T> T* get() { return std::get_if<T>(&storage_); }

    const Storage& storage() const { return storage_; }
    bool operator==(const Value& other) const { return storage_ == other.storage_; }

private:
    Storage storage_;
};

enum class Format { Xml, Binary };

// Parses XML or binary property-list bytes. nullopt for anything malformed or nested deeper than
// kMaxDepth; never crashes on hostile input.
std::optional<Value> parse(std::string_view bytes);
std::optional<Value> readFile(const std::string& path);
// The dictionary of a file whose root is a dictionary; nullopt otherwise.
std::optional<Dictionary> readDictionary(const std::string& path);
// readDictionary of a file that others may have put in place (in a bundle, in a searched folder),
// read with fs::readSmallRegularFile: never through a link at its last component, never waiting on
// a named pipe, only a regular file of at most maxBytes.
std::optional<Dictionary> readDictionarySafely(const std::string& path, std::size_t maxBytes);

std::string serialize(const Value& value, Format format);
bool writeFile(const std::string& path, const Value& value, Format format = Format::Xml);

inline constexpr int kMaxDepth = 256;

// Dictionary look-ups: the value when present and of the type, else nullptr / "".
const Value* find(const Dictionary& dict, std::string_view key);
std::string stringValue(const Dictionary& dict, std::string_view key);
std::optional<std::string> optionalString(const Dictionary& dict, std::string_view key);

}  // namespace plist
