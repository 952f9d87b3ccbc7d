#include "fixtures/Eventually.h"
#include "fixtures/MacTree.h"
#include "fixtures/Unprivileged.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/XPCDuplexObject.h"
#include "xpc/XPCLocalObject.h"
#include "xpc/XPCListener.h"
#include "xpc/XPCMessage.h"
#include "xpc/XPCRemoteObject.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Collects what the link reports, from any thread. Shared with the handlers, which connection
// threads may still call after a test has finished with it.
class Messages : public std::enable_shared_from_this<Messages> {
public:
    static std::shared_ptr<Messages> make() { return std::shared_ptr<Messages>(new Messages); }
    std::function<void(const std::string&)> handler()
    {
        return [self = shared_from_this()](const std::string& message) {
            std::lock_guard lock(self->mutex_);
            self->list_.push_back(message);
            self->changed_.notify_all();
        };
    }
    bool waitFor(const std::string& message, std::chrono::milliseconds timeout = 3000ms)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return std::find(list_.begin(), list_.end(), message) != list_.end(); });
    }

private:
    Messages() = default;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> list_;
};

// Answers and remembers what it was asked.
class RecordingService : public UninstallServiceprotocol {
public:
    explicit RecordingService(bool answer) : answer_(answer) {}
    void testWithReply(Reply reply) override { reply(true); }
    void removeWithPaths(const std::vector<std::string>& paths, Reply reply) override { record(removed, paths, reply); }
    void unloadPlistWithPath(const std::string&, Reply reply) override { reply(answer_); }
    void killProcessWithExecutablePath(const std::string&, const std::string&, Reply reply) override { reply(answer_); }
    void KillProcessWithBundlePath(const std::string&, Reply reply) override { reply(answer_); }
    void moveToTrashWithPath(const std::string&, const std::string&, Reply reply) override { reply(answer_); }
    void unloadPlistWithPath(const std::string&, const std::string&, Reply reply) override { reply(answer_); }
    void putBackWithPath(const std::string&, const std::string&, Reply reply) override { reply(answer_); }
    void loadPlistWithPath(const std::string&, Reply reply) override { reply(answer_); }
    void authorizeWithRight(const std::string& right, Reply reply) override { record(rights, {right}, reply); }
    std::mutex mutex;
    std::vector<std::string> rights;
    std::vector<std::string> removed;

private:
    void record(std::vector<std::string>& list, const std::vector<std::string>& values, const Reply& reply)
    {
        {
            std::lock_guard lock(mutex);
            list.insert(list.end(), values.begin(), values.end());
        }
        reply(answer_);
    }
    bool answer_;
};

// A protocol the link has no interface for.
class Unknown : public XPCBaseProtocol {};

bool waitForReply(const std::function<void(std::function<void(bool)>)>& call, bool& value, std::chrono::milliseconds timeout)
{
    std::mutex mutex;
    std::condition_variable arrived;
    bool done = false;
    call([&](bool answer) {
        std::lock_guard lock(mutex);
        value = answer;
        done = true;
        arrived.notify_all();
    });
    std::unique_lock lock(mutex);
    return arrived.wait_for(lock, timeout, [&] { return done; });
}

class XPCTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }
    fixtures::MacTree tree;
};

TEST_F(XPCTest, FailuresGoThroughTheHandlersAndNeverReply)
{
    // A call to nothing.
    auto messages = Messages::make();
    XPCRemoteObject<UninstallServiceprotocol> remote("com.test.nobody", messages->handler());
    bool ran = false;
    bool value = false;
    remote.callProxy([&](UninstallServiceprotocol& service) {
        ran = true;
        EXPECT_FALSE(waitForReply([&](auto reply) { service.removeWithPaths({"/x"}, reply); }, value, 1500ms));
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(messages->waitFor("Couldn’t communicate with a helper application."));
    EXPECT_TRUE(messages->waitFor("Client: Server Connect invalid"));
    EXPECT_FALSE(remote.test());

    // A protocol without an interface, on either side.
    auto client = Messages::make();
    XPCRemoteObject<Unknown> unknown("com.test.unknown", client->handler());
    ran = false;
    unknown.callProxy([&](Unknown&) { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_TRUE(client->waitFor("Client: Interface conversion fail"));
    EXPECT_TRUE(client->waitFor("Call CallProxy fail"));
    auto server = Messages::make();
    XPCLocalObject<Unknown> local("com.test.unknown", nullptr, server->handler());
    ASSERT_TRUE(local.resume());
    XPCRemoteObject<UninstallServiceprotocol> caller("com.test.unknown", nullptr);
    EXPECT_FALSE(caller.test());
    EXPECT_TRUE(server->waitFor("Server: Interface Export fail"));
}

TEST_F(XPCTest, ServesCallsAndAnswersTheTestWithinASecond)
{
    auto server = Messages::make();
    auto service = std::make_shared<RecordingService>(true);
    XPCLocalObject<UninstallServiceprotocol> local("com.test.service", service, server->handler());
    ASSERT_TRUE(local.resume());
    XPCRemoteObject<UninstallServiceprotocol> remote("com.test.service", nullptr);
    EXPECT_TRUE(remote.test());
    bool value = false;
    remote.callProxy([&](UninstallServiceprotocol& proxy) {
        EXPECT_TRUE(waitForReply([&](auto reply) { proxy.removeWithPaths({"/a", "/b c"}, reply); }, value, 3000ms));
    });
    EXPECT_TRUE(value);
    EXPECT_EQ(service->removed, (std::vector<std::string>{"/a", "/b c"}));
    remote.callProxy([&](UninstallServiceprotocol& proxy) {
        value = false;
        EXPECT_TRUE(waitForReply([&](auto reply) { proxy.authorizeWithRight(uninstallservice::kRightRemoveSystemItems, reply); },
                                 value, 3000ms));
    });
    EXPECT_TRUE(value);
    EXPECT_EQ(service->rights, std::vector<std::string>{uninstallservice::kRightRemoveSystemItems});
    EXPECT_TRUE(server->waitFor("Server: Client Connect invalid"));
}

TEST_F(XPCTest, DuplexCarriesCallsBothWays)
{
    auto serverMessages = Messages::make();
    auto clientMessages = Messages::make();
    auto serverService = std::make_shared<RecordingService>(true);
    auto clientService = std::make_shared<RecordingService>(false);
    XPCDuplexObject<UninstallServiceprotocol, UninstallServiceprotocol> server("com.test.duplex", serverService,
                                                                             serverMessages->handler());
    ASSERT_TRUE(server.listen());
    {
        XPCDuplexObject<UninstallServiceprotocol, UninstallServiceprotocol> client("com.test.duplex", clientService,
                                                                                 clientMessages->handler());
        ASSERT_TRUE(client.connect());
        bool value = false;
        ASSERT_TRUE(waitForReply([&](auto reply) { client.remote()->removeWithPaths({"/to/server"}, reply); }, value, 3000ms));
        EXPECT_TRUE(value);
        EXPECT_EQ(serverService->removed, std::vector<std::string>{"/to/server"});

        ASSERT_TRUE(fixtures::eventually([&] { return server.remote() != nullptr; }, 1s));
        value = true;
        ASSERT_TRUE(waitForReply([&](auto reply) { server.remote()->removeWithPaths({"/to/client"}, reply); }, value, 3000ms));
        EXPECT_FALSE(value);
        EXPECT_EQ(clientService->removed, std::vector<std::string>{"/to/client"});
    }
    EXPECT_TRUE(serverMessages->waitFor("Connection Interrupt"));
}

// A listener that answers every request YES, with the given bounds.
std::unique_ptr<XPCListener> answeringListener(const std::string& service, ConnectionLimiter::Limits limits)
{
    auto listener = std::make_unique<XPCListener>(
        service,
        [](XPCServerConnection& connection) {
            connection.exportedHandler = [](const xpcwire::Request&, std::function<void(bool)> reply) {
                reply(true);
                return true;
            };
            return true;
        },
        nullptr);
    listener->limits = limits;
    return listener->resume() ? std::move(listener) : nullptr;
}

std::optional<bool> ask(const std::string& service)
{
    const int fd = xpcsocket::connectTo(xpcsocket::pathForService(service));
    std::string why;
    const bool sent = fd >= 0 && xpcwire::writeAll(fd, xpcwire::encodeRequest({uninstallservice::kTest, {}}));
    const auto answer = sent ? xpcwire::readFrame(fd, 3000, why) : std::nullopt;
    ::close(fd);
    return answer ? xpcwire::decodeReply(*answer, why) : std::nullopt;
}

// The CPU time the process has used so far, in clock ticks (utime and stime, fields 14 and 15).
long ticksOf(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line, skipped;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    for (int i = 0; i < 11; ++i)
        fields >> skipped;
    long user = 0, system = 0;
    fields >> user >> system;
    return user + system;
}

}  // namespace

// An idle connection held by a child running as `uid`, which ends once the server cuts it.
class HeldConnection {
public:
    HeldConnection(const std::string& socket, uid_t uid)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        child_ = ::fork();
        if (child_ == 0) {
            if (uid != ::geteuid() && (::setgid(uid) != 0 || ::setuid(uid) != 0))
                ::_exit(3);
            const int fd = xpcsocket::connectTo(socket);
            (void)!::write(ready[1], fd >= 0 ? "y" : "n", 1);
            pollfd pfd{fd, POLLIN, 0};
            char byte;
            ::_exit(::poll(&pfd, 1, -1) == 1 && ::recv(fd, &byte, 1, 0) == 0 ? 0 : 1);
        }
        ::close(ready[1]);
        char answer = 0;
        connected_ = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
    }
    ~HeldConnection()
    {
        if (child_ > 0 && !reaped_) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
        }
    }
    bool connected() const { return connected_; }
    // Whether the server has cut it: the child has ended, or does within a while.
    bool cutOff()
    {
        int status = 0;
        fixtures::eventually([&] { return reaped_ = reaped_ || ::waitpid(child_, &status, WNOHANG) == child_; }, 300ms);
        return reaped_ && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    pid_t child_ = -1;
    bool connected_ = false;
    bool reaped_ = false;
};

// Making room never costs another user: over the per-user bound the newcomer's own oldest idle
// connection goes, over the total the busiest user's, though another user's idle one is older.
TEST_F(XPCTest, RoomIsMadeFromTheRightUsersIdleConnections)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "connections of another user need root";
    ::chmod(tree.root().c_str(), 0755);
    const uid_t other = fixtures::unprivilegedUid();
    struct Case {
        const char* name;
        ConnectionLimiter::Limits limits;
        std::vector<uid_t> held;       // in order of arrival
        std::vector<bool> cut;         // after one more connection of root
    };
    const Case cases[] = {
        {"over root's own bound", {8, 2}, {other, 0, 0}, {false, true, false}},
        {"over the total", {3, 3}, {0, other, other}, {false, true, false}},
        {"another user at its bound", {8, 2}, {0, other, other}, {false, false, false}},
    };
    int number = 0;
    for (const auto& c : cases) {
        const std::string service = "com.test.fair" + std::to_string(++number);
        const auto listener = answeringListener(service, c.limits);
        ASSERT_TRUE(listener);
        const std::string socket = xpcsocket::pathForService(service);
        std::vector<std::unique_ptr<HeldConnection>> held;
        for (const uid_t uid : c.held) {
            held.push_back(std::make_unique<HeldConnection>(socket, uid));
            ASSERT_TRUE(held.back()->connected()) << c.name;
            std::this_thread::sleep_for(50ms);
        }
        EXPECT_EQ(ask(service), std::optional<bool>(true)) << c.name;
        for (std::size_t i = 0; i < held.size(); ++i)
            EXPECT_EQ(held[i]->cutOff(), c.cut[i]) << c.name << ", connection " << i;
    }
}

TEST_F(XPCTest, AFullDescriptorTableNeitherSpinsNorStopsTheListener)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t server = ::fork();
    if (server == 0) {
        // Room for the listener and a few connections, no more.
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        // New descriptors take the lowest free numbers: the limit is counted from the open ones.
        int open = 0;
        for (int fd = 0; fd < 1024; ++fd)
            if (::fcntl(fd, F_GETFD) >= 0)
                ++open;
        limit.rlim_cur = static_cast<rlim_t>(open + 16);
        ::setrlimit(RLIMIT_NOFILE, &limit);
        const auto listener = answeringListener("com.test.descriptors", {1000, 1000});
        (void)!::write(ready[1], listener ? "y" : "n", 1);
        ::pause();
        ::_exit(0);
    }
    char started = 0;
    ASSERT_EQ(::read(ready[0], &started, 1), 1);
    ASSERT_EQ(started, 'y');
    const std::string socket = xpcsocket::pathForService("com.test.descriptors");
    std::vector<int> idle;
    // Twice as many as the server has descriptors left (two each: the socket and its pidfd).
    for (int i = 0; i < 40; ++i)
        if (const int fd = xpcsocket::connectTo(socket); fd >= 0)
            idle.push_back(fd);
    const long before = ticksOf(server);
    std::this_thread::sleep_for(1s);
    EXPECT_LE(ticksOf(server) - before, 5) << "ticks used by a listener out of descriptors";
    for (const int fd : idle)
        ::close(fd);
    EXPECT_TRUE(fixtures::eventually([] { return ask("com.test.descriptors") == std::optional<bool>(true); }, 5s));
    ::kill(server, SIGKILL);
    ::waitpid(server, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}
