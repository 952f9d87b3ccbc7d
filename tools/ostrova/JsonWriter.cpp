#include "tools/ostrova/JsonWriter.h"

#include "platform/Utf8.h"

#include <cstdio>

std::string JsonWriter::quoted(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = platform::utf8::sequenceLength(text, i);
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
