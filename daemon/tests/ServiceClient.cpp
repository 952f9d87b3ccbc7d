// A client of the uninstall service for the tests: makes one call and prints what came back.
//   service_client [--uid N] [--exec-after-connect PATH] [--send-from-child] OPERATION [ARGUMENTS...]
// OPERATION: test | remove PATH... | unload PATH | kill-executable PATH NAME | kill-bundle PATH
//            | trash PATH NAME | unload-to-trash PATH NAME | put-back PATH NAME | authorize RIGHT
//            | trash-cycle PATH NAME COUNT (prints "cycles=<how many put backs went through>")
//            | raw-garbage | raw-oversized
// Prints "reply=1", "reply=0" or "noreply" (nothing came within five seconds), and every message
// of the link's error handler as "error=<text>".
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/UnixSocket.h"
#include "xpc/XPCMessage.h"
#include "xpc/XPCRemoteObject.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

std::mutex printing;
void print(const std::string& line)
{
    std::lock_guard lock(printing);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

xpcwire::Request requestFor(const std::vector<std::string>& words)
{
    const std::string& op = words[0];
    plist::Array args;
    if (op == "test")
        return {uninstallservice::kTest, {}};
    if (op == "remove") {
        plist::Array paths;
        for (std::size_t i = 1; i < words.size(); ++i)
            paths.emplace_back(words[i]);
        return {uninstallservice::kRemove, {plist::Value(paths)}};
    }
    if (op == "unload")
        return {uninstallservice::kUnload, {plist::Value(words.at(1))}};
    if (op == "trash")
        return {uninstallservice::kMoveToTrash, {plist::Value(words.at(1)), plist::Value(words.at(2))}};
    if (op == "unload-to-trash")
        return {uninstallservice::kUnloadToTrash, {plist::Value(words.at(1)), plist::Value(words.at(2))}};
    if (op == "put-back")
        return {uninstallservice::kPutBack, {plist::Value(words.at(1)), plist::Value(words.at(2))}};
    if (op == "kill-executable")
        return {uninstallservice::kKillExecutable, {plist::Value(words.at(1)), plist::Value(words.at(2))}};
    if (op == "authorize")
        return {uninstallservice::kAuthorize, {plist::Value(words.at(1))}};
    if (op == "load")
        return {uninstallservice::kLoad, {plist::Value(words.at(1))}};
    return {uninstallservice::kKillBundle, {plist::Value(words.at(1))}};
}

// Sends the request over an already connected socket and prints the answer.
int converse(int fd, const xpcwire::Request& request)
{
    std::string why;
    if (!xpcwire::writeAll(fd, xpcwire::encodeRequest(request))) {
        print("noreply");
        return 0;
    }
    const auto frame = xpcwire::readFrame(fd, 3000, why);
    const auto value = frame ? xpcwire::decodeReply(*frame, why) : std::nullopt;
    print(value ? (*value ? "reply=1" : "reply=0") : "noreply");
    return 0;
}

// Makes one call and waits for its reply; false without one.
bool awaitReply(const std::function<void(std::function<void(bool)>)>& call)
{
    std::mutex mutex;
    std::condition_variable arrived;
    std::optional<bool> answer;
    call([&](bool value) {
        std::lock_guard lock(mutex);
        answer = value;
        arrived.notify_all();
    });
    std::unique_lock lock(mutex);
    arrived.wait_for(lock, std::chrono::seconds(10), [&] { return answer.has_value(); });
    return answer.value_or(false);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    std::string execAfterConnect;
    bool sendFromChild = false;
    int inheritedFd = -1;
    while (!words.empty() && words[0].rfind("--", 0) == 0) {
        if (words[0] == "--uid" && words.size() > 1) {
            const uid_t uid = static_cast<uid_t>(std::atoi(words[1].c_str()));
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0))
                return 3;
            words.erase(words.begin(), words.begin() + 2);
        } else if (words[0] == "--exec-after-connect" && words.size() > 1) {
            execAfterConnect = words[1];
            words.erase(words.begin(), words.begin() + 2);
        } else if (words[0] == "--send-from-child") {
            sendFromChild = true;
            words.erase(words.begin());
        } else if (words[0] == "--fd" && words.size() > 1) {
            inheritedFd = std::atoi(words[1].c_str());
            words.erase(words.begin(), words.begin() + 2);
        } else {
            return 2;
        }
    }
    if (words.empty())
        return 2;
    const std::string socketPath = xpcsocket::pathForService(uninstallservice::kServiceName);

    if (inheritedFd >= 0)
        return converse(inheritedFd, requestFor(words));
    if (sendFromChild) {
        // This process connects; another one (its child) sends on the same connection.
        const int fd = xpcsocket::connectTo(socketPath);
        if (fd < 0) {
            print("noreply");
            return 0;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            xpcwire::writeAll(fd, xpcwire::encodeRequest(requestFor(words)));
            ::_exit(0);
        }
        ::waitpid(child, nullptr, 0);
        std::string why;
        const auto frame = xpcwire::readFrame(fd, 3000, why);
        const auto value = frame ? xpcwire::decodeReply(*frame, why) : std::nullopt;
        print(value ? (*value ? "reply=1" : "reply=0") : "noreply");
        return 0;
    }
    if (!execAfterConnect.empty()) {
        const int fd = xpcsocket::connectTo(socketPath);
        if (fd < 0) {
            print("noreply");
            return 0;
        }
        ::fcntl(fd, F_SETFD, 0);  // kept across exec
        std::vector<std::string> next = {execAfterConnect, "--fd", std::to_string(fd)};
        next.insert(next.end(), words.begin(), words.end());
        std::vector<char*> args;
        for (auto& word : next)
            args.push_back(word.data());
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        return 4;
    }
    if (words[0] == "raw-garbage" || words[0] == "raw-oversized") {
        const int fd = xpcsocket::connectTo(socketPath);
        if (fd < 0)
            return 1;
        const std::string bytes = words[0] == "raw-garbage" ? xpcwire::frame("this is not a property list at all")
                                                             : std::string("\x7f\xff\xff\xff", 4) + std::string(64, 'x');
        xpcwire::writeAll(fd, bytes);
        std::string why;
        const auto answer = xpcwire::readFrame(fd, 3000, why);
        print(answer ? "reply-to-garbage" : "closed");
        ::close(fd);
        return 0;
    }

    XPCRemoteObject<UninstallServiceprotocol> remote(uninstallservice::kServiceName,
                                                     [](const std::string& message) { print("error=" + message); });
    if (words[0] == "test") {
        print(remote.test() ? "reply=1" : "reply=0");
        return 0;
    }
    if (words[0] == "trash-cycle" && words.size() == 4) {
        // Moves PATH to the Trash as NAME and puts it back, COUNT times on one connection; a put back
        // that was refused is asked again the next time round.
        int cycles = 0;
        remote.callProxy([&](UninstallServiceprotocol& service) {
            for (int i = 0; i < std::atoi(words[3].c_str()); ++i) {
                awaitReply([&](auto reply) { service.moveToTrashWithPath(words[1], words[2], reply); });
                if (awaitReply([&](auto reply) { service.putBackWithPath(words[1], words[2], reply); }))
                    ++cycles;
            }
        });
        print("cycles=" + std::to_string(cycles));
        return 0;
    }
    std::mutex mutex;
    std::condition_variable arrived;
    bool done = false;
    const auto request = requestFor(words);
    remote.callProxy([&](UninstallServiceprotocol& service) {
        auto reply = [&](bool value) {
            print(value ? "reply=1" : "reply=0");
            std::lock_guard lock(mutex);
            done = true;
            arrived.notify_all();
        };
        const auto& a = request.arguments;
        if (words[0] == "remove") {
            std::vector<std::string> paths(words.begin() + 1, words.end());
            service.removeWithPaths(paths, reply);
        } else if (words[0] == "unload") {
            service.unloadPlistWithPath(*a[0].get<std::string>(), reply);
        } else if (words[0] == "trash") {
            service.moveToTrashWithPath(*a[0].get<std::string>(), *a[1].get<std::string>(), reply);
        } else if (words[0] == "unload-to-trash") {
            service.unloadPlistWithPath(*a[0].get<std::string>(), *a[1].get<std::string>(), reply);
        } else if (words[0] == "put-back") {
            service.putBackWithPath(*a[0].get<std::string>(), *a[1].get<std::string>(), reply);
        } else if (words[0] == "kill-executable") {
            service.killProcessWithExecutablePath(*a[0].get<std::string>(), *a[1].get<std::string>(), reply);
        } else if (words[0] == "authorize") {
            service.authorizeWithRight(*a[0].get<std::string>(), reply);
        } else if (words[0] == "load") {
            service.loadPlistWithPath(*a[0].get<std::string>(), reply);
        } else {
            service.KillProcessWithBundlePath(*a[0].get<std::string>(), reply);
        }
    });
    std::unique_lock lock(mutex);
    if (!arrived.wait_for(lock, std::chrono::seconds(3), [&] { return done; }))
        print("noreply");
    return 0;
}
