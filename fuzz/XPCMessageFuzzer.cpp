// Feeds arbitrary bytes to the IPC message decoding: as a framed stream read from a socket, as a
// request and as a reply.
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/XPCMessage.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Answers every call without touching anything, so that dispatch is exercised too.
class NullService : public UninstallServiceprotocol {
public:
    void testWithReply(Reply reply) override { reply(true); }
    void removeWithPaths(const std::vector<std::string>&, Reply reply) override { reply(false); }
    void unloadPlistWithPath(const std::string&, Reply reply) override { reply(false); }
    void moveToTrashWithPath(const std::string&, const std::string&, Reply reply) override { reply(false); }
    void unloadPlistWithPath(const std::string&, const std::string&, Reply reply) override { reply(false); }
    void putBackWithPath(const std::string&, const std::string&, Reply reply) override { reply(false); }
    void loadPlistWithPath(const std::string&, Reply reply) override { reply(false); }
    void killProcessWithExecutablePath(const std::string&, const std::string&, Reply reply) override { reply(false); }
    void KillProcessWithBundlePath(const std::string&, Reply reply) override { reply(false); }
    void authorizeWithRight(const std::string&, Reply reply) override { reply(false); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string why;
    if (const auto request = xpcwire::decodeRequest(bytes, why)) {
        NullService service;
        int replies = 0;
        XPCInterface<UninstallServiceprotocol>::dispatch(service, *request, [&](bool) { ++replies; });
        if (replies > 1)
            __builtin_trap();
    }
    (void)xpcwire::decodeReply(bytes, why);

    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0)
        return 0;
    if (size <= 60000)
        (void)!::write(pair[0], bytes.data(), bytes.size());
    ::close(pair[0]);
    if (const auto frame = xpcwire::readFrame(pair[1], 100, why))
        (void)xpcwire::decodeRequest(*frame, why);
    ::close(pair[1]);
    return 0;
}
