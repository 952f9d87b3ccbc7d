#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A compact JSON text builder. Strings are written as valid UTF-8: bytes that are not UTF-8 become
// U+FFFD, so a file name with broken encoding still gives parseable output.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(std::int64_t number);
    void value(bool flag);

    const std::string& text() const { return out_; }
    static std::string quoted(std::string_view text);

private:
    void separate();
    std::string out_;
    bool needComma_ = false;
};
