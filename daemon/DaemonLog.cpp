#include "daemon/DaemonLog.h"

#include "platform/Utf8.h"

#include <cstdio>

DaemonLog& DaemonLog::shared()
{
    static DaemonLog log;
    return log;
}

void DaemonLog::write(const std::string& kind, const std::string& line)
{
    std::lock_guard lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    Rate& rate = rates_[kind];
    if (now - rate.start >= kInterval) {
        if (rate.heldBack > 0)
            std::printf("OstrovaDaemon: %zu more \"%s\" lines were not logged\n", rate.heldBack, kind.c_str());
        rate = Rate{now, 0, 0};
    }
    if (rate.written >= kBurst) {
        ++rate.heldBack;
        return;
    }
    ++rate.written;
    std::printf("OstrovaDaemon: %s\n", line.c_str());
    std::fflush(stdout);
}

std::string DaemonLog::escaped(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7f) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else if (c >= 0x80) {
            const std::size_t length = platform::utf8::sequenceLength(text, i);
            if (length == 0) {
                out += "\\x";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out.append(text.substr(i, length));
                i += length;
                continue;
            }
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}
