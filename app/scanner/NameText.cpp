#include "app/scanner/NameText.h"

#include "platform/PathUtil.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <array>

namespace nametext {

std::string normalizeName(const std::string& name)
{
    std::string withoutSpaces;
    withoutSpaces.reserve(name.size());
    bool ascii = true;
    for (const char c : name) {
        if (c == ' ')
            continue;
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        withoutSpaces += c;
    }
    if (ascii)
        return platform::path::toLower(withoutSpaces);
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(withoutSpaces);
    text.toLower(icu::Locale::getRoot());
    std::string lowered;
    text.toUTF8String(lowered);
    return lowered;
}

std::string escapeForPattern(const std::string& token)
{
    if (token.empty())
        return token;
    static constexpr std::array<char, 15> kSpecial = {'\\', '/', '|', '{', '}', '(', ')', '[', ']', '*', '.', '?', '+', '^', '$'};
    std::string escaped = token;
    for (const char special : kSpecial) {
        std::string next;
        next.reserve(escaped.size() * 2);
        for (const char c : escaped) {
            if (c == special)
                next += '\\';
            next += c;
        }
        escaped = std::move(next);
    }
    return escaped;
}

}  // namespace nametext
