#include "platform/BinaryPropertyList.h"

#include "platform/Utf8.h"

#include <cstdint>
#include <cstring>

namespace plist {
namespace {

constexpr std::size_t kTrailerSize = 32;
constexpr std::size_t kMaxValues = 1u << 20;
// What a value costs in memory besides its bytes; counted against the budget below.
constexpr std::size_t kValueCost = 16;
// Shared objects let a few bytes stand for many copies. The values produced may together take at
// most this multiple of the input (plus a small allowance for tiny inputs), however they are shared.
constexpr std::size_t kBudgetPerInputByte = 16;
constexpr std::size_t kBudgetAllowance = 64 * 1024;

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes), budget_(bytes.size() * kBudgetPerInputByte + kBudgetAllowance) {}

    std::optional<Value> read()
    {
        if (bytes_.size() < 8 + kTrailerSize || bytes_.substr(0, 7) != "bplist0")
            return std::nullopt;
        const std::size_t trailer = bytes_.size() - kTrailerSize;
        offsetSize_ = static_cast<unsigned char>(bytes_[trailer + 6]);
        refSize_ = static_cast<unsigned char>(bytes_[trailer + 7]);
        std::uint64_t count = 0, top = 0, table = 0;
        if (!bigEndian(trailer + 8, 8, count) || !bigEndian(trailer + 16, 8, top) || !bigEndian(trailer + 24, 8, table))
            return std::nullopt;
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8 || count == 0 || top >= count ||
            table < 8 || table > trailer || count > (trailer - table) / offsetSize_)
            return std::nullopt;
        objectCount_ = count;
        tableStart_ = static_cast<std::size_t>(table);
        objectsEnd_ = tableStart_;
        return object(top, 0);
    }

private:
    bool bigEndian(std::size_t at, std::size_t width, std::uint64_t& value) const
    {
        if (width == 0 || width > 8 || at > bytes_.size() || width > bytes_.size() - at)
            return false;
        value = 0;
        for (std::size_t i = 0; i < width; ++i)
            value = (value << 8) | static_cast<unsigned char>(bytes_[at + i]);
        return true;
    }

    std::optional<std::size_t> offsetOf(std::uint64_t ref) const
    {
        std::uint64_t offset = 0;
        if (ref >= objectCount_ || !bigEndian(tableStart_ + static_cast<std::size_t>(ref) * offsetSize_, offsetSize_, offset))
            return std::nullopt;
        if (offset < 8 || offset >= objectsEnd_)
            return std::nullopt;
        return static_cast<std::size_t>(offset);
    }

    // The count of a variable-length object: the low nibble, or an integer object after the marker.
    bool lengthAt(std::size_t& at, unsigned info, std::uint64_t& length) const
    {
        ++at;
        if (info != 0xF) {
            length = info;
            return true;
        }
        if (at >= objectsEnd_)
            return false;
        const auto marker = static_cast<unsigned char>(bytes_[at]);
        if ((marker >> 4) != 0x1 || (marker & 0xF) > 3)
            return false;
        const std::size_t width = std::size_t{1} << (marker & 0xF);
        if (!bigEndian(at + 1, width, length))
            return false;
        at += 1 + width;
        return true;
    }

    bool fits(std::size_t at, std::uint64_t count, std::size_t width) const
    {
        return at <= objectsEnd_ && count <= (objectsEnd_ - at) / width;
    }

    // Takes `bytes` from the budget; false (and the whole parse fails) when it is spent.
    bool spend(std::uint64_t bytes)
    {
        if (bytes > budget_)
            return false;
        budget_ -= static_cast<std::size_t>(bytes);
        return true;
    }

    std::optional<Value> object(std::uint64_t ref, int depth)
    {
        if (depth > kMaxDepth || ++produced_ > kMaxValues || !spend(kValueCost))
            return std::nullopt;
        const auto start = offsetOf(ref);
        if (!start)
            return std::nullopt;
        std::size_t at = *start;
        const auto marker = static_cast<unsigned char>(bytes_[at]);
        const unsigned type = marker >> 4, info = marker & 0xF;
        switch (type) {
        case 0x0:
            if (marker == 0x08 || marker == 0x09)
                return Value(marker == 0x09);
            return std::nullopt;
        case 0x1: {
            if (info > 4)
                return std::nullopt;
            const std::size_t width = std::size_t{1} << info;
            std::uint64_t value = 0;
            // A 16-byte integer keeps its low eight bytes.
            if (!bigEndian(at + 1 + (width > 8 ? width - 8 : 0), width > 8 ? 8 : width, value) || width > objectsEnd_ - at - 1)
                return std::nullopt;
            return Value(static_cast<std::int64_t>(value));
        }
        case 0x2: {
            if (info != 2 && info != 3)
                return std::nullopt;
            std::uint64_t raw = 0;
            if (!bigEndian(at + 1, std::size_t{1} << info, raw) || (std::size_t{1} << info) > objectsEnd_ - at - 1)
                return std::nullopt;
            if (info == 2) {
                const auto bits = static_cast<std::uint32_t>(raw);
                float f;
                std::memcpy(&f, &bits, sizeof f);
                return Value(static_cast<double>(f));
            }
            double d;
            std::memcpy(&d, &raw, sizeof d);
            return Value(d);
        }
        case 0x3: {
            std::uint64_t raw = 0;
            if (marker != 0x33 || !bigEndian(at + 1, 8, raw) || 8 > objectsEnd_ - at - 1)
                return std::nullopt;
            double d;
            std::memcpy(&d, &raw, sizeof d);
            return Value(Date{d});
        }
        case 0x4:
        case 0x5:
        case 0x7: {
            std::uint64_t length = 0;
            if (!lengthAt(at, info, length) || !fits(at, length, 1) || !spend(length))
                return std::nullopt;
            std::string text(bytes_.substr(at, static_cast<std::size_t>(length)));
            if (type == 0x4)
                return Value(Data{std::move(text)});
            return Value(std::move(text));
        }
        case 0x6: {
            std::uint64_t units = 0;
            // Up to three UTF-8 bytes come of one UTF-16 unit.
            if (!lengthAt(at, info, units) || !fits(at, units, 2) || !spend(units * 3))
                return std::nullopt;
            std::string text;
            for (std::uint64_t i = 0; i < units; ++i) {
                const auto unit = [&](std::uint64_t k) {
                    const std::size_t p = at + static_cast<std::size_t>(k) * 2;
                    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[p]) << 8 | static_cast<unsigned char>(bytes_[p + 1]));
                };
                std::uint32_t cp = unit(i);
                if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
                    ++i;
                } else if (cp >= 0xD800 && cp <= 0xDFFF) {
                    cp = 0xFFFD;
                }
                platform::utf8::append(text, cp);
            }
            return Value(std::move(text));
        }
        case 0x8: {
            std::uint64_t value = 0;
            if (!bigEndian(at + 1, info + 1, value) || info + 1u > objectsEnd_ - at - 1)
                return std::nullopt;
            return Value(static_cast<std::int64_t>(value));
        }
        case 0xA: {
            std::uint64_t count = 0;
            if (!lengthAt(at, info, count) || !fits(at, count, refSize_) || !spend(count * kValueCost))
                return std::nullopt;
            Array array;
            array.reserve(static_cast<std::size_t>(count));
            for (std::uint64_t i = 0; i < count; ++i) {
                std::uint64_t child = 0;
                if (!bigEndian(at + static_cast<std::size_t>(i) * refSize_, refSize_, child))
                    return std::nullopt;
                auto value = object(child, depth + 1);
                if (!value)
                    return std::nullopt;
                array.push_back(std::move(*value));
            }
            return Value(std::move(array));
        }
        case 0xD: {
            std::uint64_t count = 0;
            if (!lengthAt(at, info, count) || count > (objectsEnd_ - std::min(at, objectsEnd_)) / 2 || !fits(at, count * 2, refSize_) ||
                !spend(count * kValueCost))
                return std::nullopt;
            Dictionary dict;
            for (std::uint64_t i = 0; i < count; ++i) {
                std::uint64_t keyRef = 0, valueRef = 0;
                if (!bigEndian(at + static_cast<std::size_t>(i) * refSize_, refSize_, keyRef) ||
                    !bigEndian(at + static_cast<std::size_t>(count + i) * refSize_, refSize_, valueRef))
                    return std::nullopt;
                auto key = object(keyRef, depth + 1);
                if (!key || !key->is<std::string>())
                    return std::nullopt;
                auto value = object(valueRef, depth + 1);
                if (!value)
                    return std::nullopt;
                dict.insert_or_assign(std::move(*key->get<std::string>()), std::move(*value));
            }
            return Value(std::move(dict));
        }
        default:
            return std::nullopt;
        }
    }

    std::string_view bytes_;
    unsigned offsetSize_ = 0;
    unsigned refSize_ = 0;
    std::uint64_t objectCount_ = 0;
    std::size_t tableStart_ = 0;
    std::size_t objectsEnd_ = 0;
    std::size_t produced_ = 0;
    std::size_t budget_;
};

}  // namespace

std::optional<Value> parseBinary(std::string_view bytes)
{
    return Reader(bytes).read();
}

}  // namespace plist
