#include "platform/StringsFile.h"

#include "platform/Utf8.h"

#include <cstdint>

namespace platform {
namespace {

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    std::string out;
    auto unit = [&](std::size_t i) -> uint32_t {
        const auto a = static_cast<uint8_t>(bytes[i]), b = static_cast<uint8_t>(bytes[i + 1]);
        return bigEndian ? (uint32_t(a) << 8 | b) : (uint32_t(b) << 8 | a);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        utf8::append(out, cp);
    }
    return out;
}

class TextParser {
public:
    explicit TextParser(std::string_view text) : text_(text) {}

    std::optional<plist::Dictionary> parse()
    {
        plist::Dictionary table;
        for (;;) {
            if (!skipSpaceAndComments())
                return std::nullopt;
            if (pos_ >= text_.size())
                return table;
            auto key = token();
            if (!key || !skipSpaceAndComments())
                return std::nullopt;
            std::string value = *key;
            if (peek() == '=') {
                ++pos_;
                if (!skipSpaceAndComments())
                    return std::nullopt;
                auto parsed = token();
                if (!parsed || !skipSpaceAndComments())
                    return std::nullopt;
                value = std::move(*parsed);
            }
            if (peek() != ';')
                return std::nullopt;
            ++pos_;
            table.insert_or_assign(std::move(*key), plist::Value(std::move(value)));
        }
    }

private:
    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    bool skipSpaceAndComments()
    {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++pos_;
            } else if (text_.substr(pos_, 2) == "//") {
                const auto end = text_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else if (text_.substr(pos_, 2) == "/*") {
                const auto end = text_.find("*/", pos_ + 2);
                if (end == std::string_view::npos)
                    return false;
                pos_ = end + 2;
            } else {
                break;
            }
        }
        return true;
    }

    std::optional<std::string> token()
    {
        if (peek() == '"')
            return quoted();
        std::string bare;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                 c == '_' || c == '.' || c == '$' || c == ':' || c == '/' || c == '-';
            if (!allowed)
                break;
            bare += c;
            ++pos_;
        }
        if (bare.empty())
            return std::nullopt;
        return bare;
    }

    std::optional<std::string> quoted()
    {
        ++pos_;
        std::string out;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"')
                return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size())
                return std::nullopt;
            const char e = text_[pos_++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'a': out += '\a'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'v': out += '\v'; break;
            case 'U':
            case 'u': {
                uint32_t cp = 0;
                int digits = 0;
                while (digits < 4 && pos_ < text_.size()) {
                    const char h = text_[pos_];
                    const int v = (h >= '0' && h <= '9') ? h - '0'
                                : (h >= 'a' && h <= 'f') ? h - 'a' + 10
                                : (h >= 'A' && h <= 'F') ? h - 'A' + 10 : -1;
                    if (v < 0)
                        break;
                    cp = cp * 16 + static_cast<uint32_t>(v);
                    ++digits;
                    ++pos_;
                }
                if (digits == 0)
                    return std::nullopt;
                utf8::append(out, (cp >= 0xD800 && cp <= 0xDFFF) ? 0xFFFD : cp);
                break;
            }
            default:
                out += e;
            }
        }
        return std::nullopt;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<plist::Dictionary> parseStringsFile(std::string_view bytes)
{
    if (bytes.substr(0, 6) == "bplist" || bytes.find("<plist") != std::string_view::npos) {
        auto value = plist::parse(bytes);
        if (value) {
            if (auto* dict = value->get<plist::Dictionary>())
                return std::move(*dict);
        }
        return std::nullopt;
    }
    std::string text;
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE)
        text = utf16ToUtf8(bytes.substr(2), false);
    else if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFE && static_cast<uint8_t>(bytes[1]) == 0xFF)
        text = utf16ToUtf8(bytes.substr(2), true);
    else if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        text = std::string(bytes.substr(3));
    else
        text = std::string(bytes);
    return TextParser(text).parse();
}

}  // namespace platform
