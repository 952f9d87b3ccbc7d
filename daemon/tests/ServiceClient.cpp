// A client of the uninstall service for the tests: makes one call, on a connection of its own as the
// app's link does, and prints what came back.
//   service_client [--uid N] [--exec-after-connect PATH] [--send-from-child] [--fd N] OPERATION [ARGUMENTS...]
// OPERATION: test | remove PATH... | unload PATH | load PATH | kill-executable PATH NAME | kill-bundle PATH
//            | trash PATH NAME | unload-to-trash PATH NAME | put-back PATH NAME | authorize RIGHT
//            | trash-cycle PATH NAME COUNT (prints "cycles=<how many put backs went through>"; stops
//              after 40 seconds, within the caller's minute, however few rounds a slow build made)
//            | raw-garbage | raw-oversized (print "reply-to-garbage" or "closed")
// Prints "reply=1", "reply=0" or "noreply" (the connection closed, or nothing came within three
// seconds); the test operation reads a missing answer as "reply=0".
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/UnixSocket.h"
#include "xpc/XPCMessage.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace service = uninstallservice;

xpcwire::Request requestFor(const std::vector<std::string>& words)
{
    static const std::map<std::string, const char*> operations = {
        {"test", service::kTest},          {"unload", service::kUnload},
        {"load", service::kLoad},          {"trash", service::kMoveToTrash},
        {"put-back", service::kPutBack},   {"unload-to-trash", service::kUnloadToTrash},
        {"authorize", service::kAuthorize}, {"kill-executable", service::kKillExecutable}};
    plist::Array arguments(words.begin() + 1, words.end());
    if (words[0] == "remove")
        return {service::kRemove, {plist::Value(arguments)}};
    const auto found = operations.find(words[0]);
    return {found == operations.end() ? service::kKillBundle : found->second, arguments};
}

int connectToService()
{
    return xpcsocket::connectTo(xpcsocket::pathForService(service::kServiceName));
}

std::optional<bool> replyOn(int fd, int waitMs = 3000)
{
    std::string why;
    const auto frame = xpcwire::readFrame(fd, waitMs, why);
    return frame ? xpcwire::decodeReply(*frame, why) : std::nullopt;
}

// Sends the bytes on the connection and reads the reply; closes the connection.
std::optional<bool> exchange(int fd, const std::string& bytes, int waitMs = 3000)
{
    const auto reply = fd >= 0 && xpcwire::writeAll(fd, bytes) ? replyOn(fd, waitMs) : std::nullopt;
    if (fd >= 0)
        ::close(fd);
    return reply;
}

}  // namespace

int main(int argc, char** argv)
{
    // Each line reaches the test as it is printed: a traced client under the sanitizers dies in the
    // leak check at exit, before the buffer would be flushed.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::vector<std::string> words(argv + 1, argv + argc);
    std::string execAfterConnect;
    bool sendFromChild = false;
    int fd = -1;
    while (!words.empty() && words[0].rfind("--", 0) == 0) {
        if (words[0] == "--send-from-child") {
            sendFromChild = true;
            words.erase(words.begin());
            continue;
        }
        if (words.size() < 2)
            return 2;
        if (words[0] == "--uid") {
            const uid_t uid = static_cast<uid_t>(std::atoi(words[1].c_str()));
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0))
                return 3;
        } else if (words[0] == "--exec-after-connect") {
            execAfterConnect = words[1];
        } else if (words[0] == "--fd") {
            fd = std::atoi(words[1].c_str());
        } else {
            return 2;
        }
        words.erase(words.begin(), words.begin() + 2);
    }
    if (words.empty())
        return 2;

    if (words[0] == "trash-cycle" && words.size() == 4) {
        // Moves PATH to the Trash as NAME and puts it back, COUNT times; a put back that was refused
        // is asked again the next time round.
        int cycles = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(40);
        for (int i = 0; i < std::atoi(words[3].c_str()) && std::chrono::steady_clock::now() < until; ++i) {
            exchange(connectToService(), xpcwire::encodeRequest(requestFor({"trash", words[1], words[2]})), 10000);
            cycles += exchange(connectToService(), xpcwire::encodeRequest(requestFor({"put-back", words[1], words[2]})), 10000)
                          .value_or(false);
        }
        std::printf("cycles=%d\n", cycles);
        return 0;
    }
    if (words[0] == "raw-garbage" || words[0] == "raw-oversized") {
        const bool garbage = words[0] == "raw-garbage";
        const auto frame = exchange(connectToService(), garbage ? xpcwire::frame("this is not a property list at all")
                                                                : std::string("\x7f\xff\xff\xff", 4) + std::string(64, 'x'));
        std::printf("%s\n", frame ? "reply-to-garbage" : "closed");
        return 0;
    }
    if (fd < 0)
        fd = connectToService();
    if (fd >= 0 && !execAfterConnect.empty()) {
        // The connection is kept across exec: the program that asks is another than the one that connected.
        ::fcntl(fd, F_SETFD, 0);
        std::vector<std::string> next = {execAfterConnect, "--fd", std::to_string(fd)};
        next.insert(next.end(), words.begin(), words.end());
        std::vector<char*> args;
        for (auto& word : next)
            args.push_back(word.data());
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        return 4;
    }
    const std::string request = xpcwire::encodeRequest(requestFor(words));
    std::optional<bool> reply;
    if (fd >= 0 && sendFromChild) {
        // This process connected; its child sends on the same connection.
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(xpcwire::writeAll(fd, request) ? 0 : 1);
        ::waitpid(child, nullptr, 0);
        reply = replyOn(fd);
    } else {
        reply = exchange(fd, request);
    }
    std::printf("%s\n", reply ? (*reply ? "reply=1" : "reply=0") : words[0] == "test" ? "reply=0" : "noreply");
    return 0;
}
