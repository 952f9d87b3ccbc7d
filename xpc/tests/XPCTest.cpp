#include "fixtures/MacTree.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/XPCDuplexObject.h"
#include "xpc/XPCLocalObject.h"
#include "xpc/XPCRemoteObject.h"

#include <gtest/gtest.h>

#include <chrono>
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
    std::vector<std::string> all()
    {
        std::lock_guard lock(mutex_);
        return list_;
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
    void removeWithPaths(const std::vector<std::string>& paths, Reply reply) override
    {
        {
            std::lock_guard lock(mutex);
            removed.insert(removed.end(), paths.begin(), paths.end());
        }
        reply(answer_);
    }
    void unloadPlistWithPath(const std::string&, Reply reply) override { reply(answer_); }
    void killProcessWithExecutablePath(const std::string&, const std::string&, Reply reply) override { reply(answer_); }
    void KillProcessWithBundlePath(const std::string&, Reply reply) override { reply(answer_); }
    std::mutex mutex;
    std::vector<std::string> removed;

private:
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

TEST_F(XPCTest, ACallToNothingFailsThroughTheHandlersAndNeverReplies)
{
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
    EXPECT_TRUE(server->waitFor("Server: Client Connect invalid"));
}

TEST_F(XPCTest, AProtocolWithoutAnInterfaceIsReported)
{
    auto client = Messages::make();
    XPCRemoteObject<Unknown> remote("com.test.unknown", client->handler());
    bool ran = false;
    remote.callProxy([&](Unknown&) { ran = true; });
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

        for (int i = 0; i < 100 && !server.remote(); ++i)
            std::this_thread::sleep_for(10ms);
        ASSERT_TRUE(server.remote());
        value = true;
        ASSERT_TRUE(waitForReply([&](auto reply) { server.remote()->removeWithPaths({"/to/client"}, reply); }, value, 3000ms));
        EXPECT_FALSE(value);
        EXPECT_EQ(clientService->removed, std::vector<std::string>{"/to/client"});
    }
    EXPECT_TRUE(serverMessages->waitFor("Connection Interrupt"));
}

}  // namespace
