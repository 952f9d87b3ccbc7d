#include "platform/PropertyList.h"

#include "platform/BinaryPropertyList.h"
#include "platform/FileSystem.h"

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace plist {
namespace {

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using NodePtr = std::unique_ptr<void, NodeDeleter>;

std::optional<Value> fromNode(plist_t node, int depth)
{
    if (node == nullptr || depth > kMaxDepth)
        return std::nullopt;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t v = 0;
        plist_get_bool_val(node, &v);
        return Value(v != 0);
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return Value(static_cast<std::int64_t>(v));
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return Value(v);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return Value(std::string(text ? text : "", text ? length : 0));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return Value(Data{std::string(bytes ? bytes : "", bytes ? length : 0)});
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        return Value(Date{static_cast<double>(sec) + static_cast<double>(usec) / 1e6});
    }
    case PLIST_ARRAY: {
        Array array;
        const uint32_t size = plist_array_get_size(node);
        array.reserve(size);
        for (uint32_t i = 0; i < size; ++i) {
            auto item = fromNode(plist_array_get_item(node, i), depth + 1);
            if (!item)
                return std::nullopt;
            array.push_back(std::move(*item));
        }
        return Value(std::move(array));
    }
    case PLIST_DICT: {
        Dictionary dict;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        if (iter == nullptr)
            return Value(std::move(dict));
        for (;;) {
            char* key = nullptr;
            plist_t child = nullptr;
            plist_dict_next_item(node, iter, &key, &child);
            if (child == nullptr) {
                free(key);
                break;
            }
            std::string name = key ? key : "";
            free(key);
            auto item = fromNode(child, depth + 1);
            if (!item) {
                free(iter);
                return std::nullopt;
            }
            dict.insert_or_assign(std::move(name), std::move(*item));
        }
        free(iter);
        return Value(std::move(dict));
    }
    case PLIST_UID: {
        uint64_t v = 0;
        plist_get_uid_val(node, &v);
        return Value(static_cast<std::int64_t>(v));
    }
    default:
        return std::nullopt;
    }
}

plist_t toNode(const Value& value)
{
    struct Visitor {
        plist_t operator()(std::monostate) const { return plist_new_string(""); }
        plist_t operator()(bool v) const { return plist_new_bool(v ? 1 : 0); }
        plist_t operator()(std::int64_t v) const { return plist_new_uint(static_cast<uint64_t>(v)); }
        plist_t operator()(double v) const { return plist_new_real(v); }
        plist_t operator()(const std::string& v) const { return plist_new_string(v.c_str()); }
        plist_t operator()(const Data& v) const { return plist_new_data(v.bytes.data(), v.bytes.size()); }
        plist_t operator()(const Date& v) const
        {
            double whole = std::floor(v.sinceReferenceDate);
            whole = std::clamp(whole, double(std::numeric_limits<int32_t>::min()), double(std::numeric_limits<int32_t>::max()));
            const auto usec = static_cast<int32_t>(std::lround((v.sinceReferenceDate - whole) * 1e6) % 1000000);
            return plist_new_date(static_cast<int32_t>(whole), usec);
        }
        plist_t operator()(const Array& v) const
        {
            plist_t node = plist_new_array();
            for (const auto& item : v)
                plist_array_append_item(node, toNode(item));
            return node;
        }
        plist_t operator()(const Dictionary& v) const
        {
            plist_t node = plist_new_dict();
            for (const auto& [key, item] : v)
                plist_dict_set_item(node, key.c_str(), toNode(item));
            return node;
        }
    };
    return std::visit(Visitor{}, value.storage());
}

}  // namespace

namespace {

// libplist aborts on a key that holds a NUL character. XML has no place for one, so text that
// contains a NUL byte or a character reference to 0 is refused before it is handed over.
bool xmlMayHoldNul(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return true;
    for (std::size_t at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", at + 2)) {
        std::size_t i = at + 2;
        const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
        if (hex)
            ++i;
        unsigned long value = 0;
        bool digits = false;
        for (; i < text.size() && value < 0x110000; ++i) {
            const char c = text[i];
            int d = -1;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            if (d < 0)
                break;
            value = value * (hex ? 16 : 10) + static_cast<unsigned long>(d);
            digits = true;
        }
        if (!digits || value == 0)
            return true;
    }
    return false;
}

}  // namespace

std::optional<Value> parse(std::string_view bytes)
{
    if (bytes.size() < 8 || bytes.size() > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    if (bytes.substr(0, 6) == "bplist")
        return parseBinary(bytes);
    if (xmlMayHoldNul(bytes))
        return std::nullopt;
    plist_t root = nullptr;
    plist_from_xml(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    NodePtr owner(root);
    return fromNode(root, 0);
}


std::optional<Value> readFile(const std::string& path)
{
    const auto bytes = platform::fs::readFile(path);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes);
}

namespace {

std::optional<Dictionary> dictionaryOf(const std::optional<std::string>& bytes)
{
    auto value = bytes ? parse(*bytes) : std::nullopt;
    if (auto* dict = value ? value->get<Dictionary>() : nullptr)
        return std::move(*dict);
    return std::nullopt;
}

}  // namespace

std::optional<Dictionary> readDictionary(const std::string& path)
{
    return dictionaryOf(platform::fs::readFile(path));
}

std::optional<Dictionary> readDictionarySafely(const std::string& path, std::size_t maxBytes)
{
    return dictionaryOf(platform::fs::readSmallRegularFile(path, maxBytes));
}

std::string serialize(const Value& value, Format format)
{
    NodePtr root(toNode(value));
    char* out = nullptr;
    uint32_t length = 0;
    if (format == Format::Binary)
        plist_to_bin(root.get(), &out, &length);
    else
        plist_to_xml(root.get(), &out, &length);
    std::string result(out ? out : "", out ? length : 0);
    free(out);
    return result;
}

bool writeFile(const std::string& path, const Value& value, Format format)
{
    const std::string bytes = serialize(value, format);
    return !bytes.empty() && platform::fs::writeFileAtomically(path, bytes);
}

const Value* find(const Dictionary& dict, std::string_view key)
{
    const auto it = dict.find(key);
    return it == dict.end() ? nullptr : &it->second;
}

std::string stringValue(const Dictionary& dict, std::string_view key)
{
    return optionalString(dict, key).value_or("");
}

std::optional<std::string> optionalString(const Dictionary& dict, std::string_view key)
{
    if (const Value* value = find(dict, key))
        if (const auto* text = value->get<std::string>())
            return *text;
    return std::nullopt;
}

}  // namespace plist
