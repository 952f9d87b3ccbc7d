#pragma once

#include "platform/PropertyList.h"

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The wire form of one message: a 4-byte big-endian length, then that many bytes of a binary
// property list. A request is {"operation": selector, "arguments": array}; a reply is
// {"reply": BOOL}. Other tools speak this framing too; keep it as it is.
namespace xpcwire {

inline constexpr std::uint32_t kMaxMessageBytes = 1u << 20;

struct Request {
    std::string operation;
    plist::Array arguments;
};

std::string encodeRequest(const Request& request);
std::string encodeReply(bool reply);
// The frame around a payload.
std::string frame(const std::string& payload);

// Decoding never throws: nullopt and a reason for anything malformed.
std::optional<Request> decodeRequest(std::string_view payload, std::string& why);
std::optional<bool> decodeReply(std::string_view payload, std::string& why);

// The process a frame must come from, as the kernel attests it for each byte received
// (platform::localsocket::receiveFrom): not another process that shares the connection.
struct Sender {
    pid_t pid = -1;
    uid_t uid = static_cast<uid_t>(-1);
};

// Reads one framed message from a socket, waiting at most `timeoutMs` (negative: no limit).
// nullopt with a reason on end of stream, time-out, a length over kMaxMessageBytes, or (with
// `from`) a byte that another process sent.
std::optional<std::string> readFrame(int fd, int timeoutMs, std::string& why, const Sender* from = nullptr);
bool writeAll(int fd, const std::string& bytes);

}  // namespace xpcwire
