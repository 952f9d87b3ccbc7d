#include "tools/ostrova/JsonWriter.h"

#include <cstdio>

namespace {

// Length of the valid UTF-8 sequence at `i`, or 0.
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t length = 0;
    uint32_t min = 0;
    if (c < 0x80)
        return 1;
    if ((c & 0xE0) == 0xC0) {
        length = 2;
        min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3;
        min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    uint32_t cp = c & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

std::string JsonWriter::quoted(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = utf8Length(text, i);
        if (length == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (length > 1) {
            out.append(text, i, length);
            i += length;
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

void JsonWriter::separate()
{
    if (needComma_)
        out_ += ',';
    needComma_ = false;
}

void JsonWriter::beginObject()
{
    separate();
    out_ += '{';
}

void JsonWriter::endObject()
{
    out_ += '}';
    needComma_ = true;
}

void JsonWriter::beginArray()
{
    separate();
    out_ += '[';
}

void JsonWriter::endArray()
{
    out_ += ']';
    needComma_ = true;
}

void JsonWriter::key(std::string_view name)
{
    separate();
    out_ += quoted(name);
    out_ += ':';
}

void JsonWriter::value(std::string_view text)
{
    separate();
    out_ += quoted(text);
    needComma_ = true;
}

void JsonWriter::value(std::int64_t number)
{
    separate();
    out_ += std::to_string(number);
    needComma_ = true;
}

void JsonWriter::value(bool flag)
{
    separate();
    out_ += flag ? "true" : "false";
    needComma_ = true;
}
