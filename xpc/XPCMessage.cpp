#include "xpc/XPCMessage.h"

#include "platform/LocalSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace xpcwire {

std::string frame(const std::string& payload)
{
    const auto length = static_cast<std::uint32_t>(payload.size());
    std::string bytes;
    bytes.reserve(4 + payload.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>((length >> shift) & 0xFF);
    bytes += payload;
    return bytes;
}

std::string encodeRequest(const Request& request)
{
    plist::Dictionary message;
    message.emplace("operation", request.operation);
    message.emplace("arguments", request.arguments);
    return frame(plist::serialize(plist::Value(std::move(message)), plist::Format::Binary));
}

std::string encodeReply(bool reply)
{
    return frame(plist::serialize(plist::Value(plist::Dictionary{{"reply", reply}}), plist::Format::Binary));
}

std::optional<Request> decodeRequest(std::string_view payload, std::string& why)
{
    if (payload.substr(0, 8) != "bplist00") {
        why = "the request is not a binary property list";
        return std::nullopt;
    }
    const auto value = plist::parse(payload);
    const auto* dict = value ? value->get<plist::Dictionary>() : nullptr;
    if (!dict) {
        why = "the request is not a property-list dictionary";
        return std::nullopt;
    }
    const auto operation = plist::optionalString(*dict, "operation");
    const auto* arguments = plist::find(*dict, "arguments");
    if (!operation || operation->empty()) {
        why = "the request names no operation";
        return std::nullopt;
    }
    if (!arguments || !arguments->is<plist::Array>()) {
        why = "the request has no argument array";
        return std::nullopt;
    }
    return Request{*operation, *arguments->get<plist::Array>()};
}

std::optional<bool> decodeReply(std::string_view payload, std::string& why)
{
    const auto value = plist::parse(payload);
    const auto* dict = value ? value->get<plist::Dictionary>() : nullptr;
    const auto* reply = dict ? plist::find(*dict, "reply") : nullptr;
    if (!reply || !reply->is<bool>()) {
        why = "the reply is not {\"reply\": BOOL}";
        return std::nullopt;
    }
    return *reply->get<bool>();
}

namespace {

// One recv; with `from`, bytes the kernel says that process sent.
ssize_t receive(int fd, char* into, std::size_t count, const Sender* from, std::string& why)
{
    if (!from)
        return ::recv(fd, into, count, 0);
    platform::localsocket::Sender sender;
    const ssize_t n = platform::localsocket::receiveFrom(fd, into, count, sender);
    if (n <= 0)
        return n;
    if (sender.pid != from->pid || sender.uid != from->uid) {
        why = sender.pid >= 0 ? "bytes sent by another process (pid " + std::to_string(sender.pid) + ")"
                              : "bytes without the sender's credentials";
        errno = EPERM;
        return -2;
    }
    return n;
}

bool readExactly(int fd, char* into, std::size_t count, std::chrono::steady_clock::time_point deadline, bool limited,
                 const Sender* from, std::string& why)
{
    std::size_t done = 0;
    while (done < count) {
        int wait = -1;
        if (limited) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                why = "timed out waiting for the peer";
                return false;
            }
            wait = static_cast<int>(left.count());
        }
        pollfd pfd{fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            why = ready == 0 ? "timed out waiting for the peer" : "the connection failed";
            return false;
        }
        const ssize_t n = receive(fd, into + done, count - done, from, why);
        if (n == -2)
            return false;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            why = "the peer closed the connection";
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<std::string> readFrame(int fd, int timeoutMs, std::string& why, const Sender* from)
{
    const bool limited = timeoutMs >= 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limited ? timeoutMs : 0);
    char header[4];
    if (!readExactly(fd, header, 4, deadline, limited, from, why))
        return std::nullopt;
    std::uint32_t length = 0;
    for (const char byte : header)
        length = (length << 8) | static_cast<unsigned char>(byte);
    if (length > kMaxMessageBytes) {
        why = "a message of " + std::to_string(length) + " bytes is over the limit";
        return std::nullopt;
    }
    std::string payload(length, '\0');
    if (length > 0 && !readExactly(fd, payload.data(), length, deadline, limited, from, why))
        return std::nullopt;
    return payload;
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = platform::localsocket::send(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace xpcwire
