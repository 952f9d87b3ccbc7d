// The daemon's service run in this process, so that its accept loop meets injected faults; the
// root daemon itself has no switch for them.
#include "daemon/UninstallServiceWapper.h"
#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "platform/FileSystem.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/UnixSocket.h"
#include "xpc/XPCMessage.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {

using fixtures::ScopedSystemCallFault;
using fixtures::ScopedSystemCallTrace;
using fixtures::SystemCall;

int openDescriptors()
{
    int count = 0;
    if (DIR* fds = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(fds))
            count += entry->d_name[0] != '.';
        ::closedir(fds);
    }
    return count - 1;  // the listing's own
}

// Checks the condition until it holds or the test's own time-out ends the run.
bool eventually(const std::function<bool()>& holds)
{
    for (int round = 0; round < 6000; ++round) {
        if (holds())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return holds();
}

class AcceptFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "the daemon's service serves root here without its bundle";
        tree.activate();
        before = openDescriptors();
    }
    void TearDown() override { stop(); }

    void start()
    {
        service = UninstallServiceWapper::start(ClientCheck(tree.at("/Applications/Ostrova.app")));
        ASSERT_TRUE(service);
    }
    void stop()
    {
        if (!service)
            return;
        service->xpcServcie.reset();  // joins the accept loop
        service.reset();
    }

    int connect() const { return xpcsocket::connectTo(xpcsocket::pathForService(uninstallservice::kServiceName)); }

    static bool send(int fd, const xpcwire::Request& request) { return xpcwire::writeAll(fd, xpcwire::encodeRequest(request)); }

    // The reply on a connection, or nullopt when it was closed without one.
    static std::optional<bool> replyOn(int fd)
    {
        std::string why;
        const auto frame = xpcwire::readFrame(fd, 30000, why);
        return frame ? xpcwire::decodeReply(*frame, why) : std::nullopt;
    }

    std::optional<bool> ask(const xpcwire::Request& request) const
    {
        const int fd = connect();
        if (fd < 0)
            return std::nullopt;
        const auto reply = send(fd, request) ? replyOn(fd) : std::nullopt;
        ::close(fd);
        return reply;
    }

    fixtures::MacTree tree;
    std::shared_ptr<UninstallServiceWapper> service;
    int before = 0;
};

TEST_F(AcceptFaultTest, OutOfDescriptorsOnceCostsOneClientAndNothingElse)
{
    ScopedSystemCallTrace trace;
    {
        ScopedSystemCallFault full(SystemCall::accept, EMFILE, 1, 1);
        start();
        const int turnedAway = connect();
        ASSERT_GE(turnedAway, 0);
        // The daemon may close the connection before the request is written or after: either
        // way it is never answered.
        [[maybe_unused]] const bool written = send(turnedAway, {uninstallservice::kTest, {}});
        EXPECT_EQ(replyOn(turnedAway), std::nullopt);
        ::close(turnedAway);
        EXPECT_EQ(full.failed(), 1u);
    }
    EXPECT_EQ(ask({uninstallservice::kTest, {}}), std::optional<bool>(true));
    // A system-wide place: this client is root (its home would be the one it started with).
    const std::string doomed = tree.at("/Library/Application Support/Doomed Data");
    tree.writeFile(doomed + "/cache.db", "x");
    EXPECT_EQ(ask({uninstallservice::kRemove, {plist::Value(plist::Array{plist::Value(doomed)})}}), std::optional<bool>(true));
    EXPECT_FALSE(platform::fs::linkStatus(doomed));

    // One accept that failed and the one with the spare descriptor for the client turned away, one
    // for each client served: the loop never went round without a client to take.
    const auto accepts = trace.of(SystemCall::accept);
    ASSERT_EQ(accepts.size(), 4u);
    EXPECT_EQ(accepts[0].error, EMFILE);
    for (std::size_t i = 1; i < accepts.size(); ++i)
        EXPECT_GE(accepts[i].result, 0);

    stop();
    EXPECT_TRUE(eventually([&] { return openDescriptors() == before; })) << openDescriptors() << " open, " << before << " before";
}

TEST_F(AcceptFaultTest, OutOfDescriptorsForAWhileRestsAndThenServesTheWaitingClient)
{
    ScopedSystemCallTrace trace;
    int waiting = -1;
    {
        ScopedSystemCallFault full(SystemCall::accept, EMFILE, 1, 0);
        start();
        waiting = connect();
        ASSERT_GE(waiting, 0);
        ASSERT_TRUE(send(waiting, {uninstallservice::kTest, {}}));
        // Three rounds, each the accept and the one with the spare descriptor.
        ASSERT_TRUE(eventually([&] { return full.failed() >= 6; }));
    }
    // Between two rounds for the same queued client the loop rests rather than spinning.
    const auto events = trace.events();
    int failedInRow = 0;
    for (const auto& event : events) {
        if (event.call == SystemCall::accept && event.error == EMFILE) {
            ++failedInRow;
            EXPECT_LE(failedInRow, 2) << "accept tried again without a rest";
        } else if (event.call == SystemCall::poll && event.argument > 0) {
            failedInRow = 0;
        }
    }
    // Once descriptors are to be had again, the client that waited gets its answer.
    EXPECT_EQ(replyOn(waiting), std::optional<bool>(true));
    ::close(waiting);
    EXPECT_EQ(ask({uninstallservice::kTest, {}}), std::optional<bool>(true));
    stop();
    EXPECT_TRUE(eventually([&] { return openDescriptors() == before; })) << openDescriptors() << " open, " << before << " before";
}

}  // namespace
