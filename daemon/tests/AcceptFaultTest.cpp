// The daemon's service run in this process, so that its accept loop meets injected faults; the
// root daemon itself has no switch for them.
#include "daemon/UninstallServiceWapper.h"
#include "fixtures/Eventually.h"
#include "fixtures/MacTree.h"
#include "fixtures/SystemCallFault.h"
#include "platform/FileSystem.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/UnixSocket.h"
#include "xpc/XPCMessage.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using fixtures::ScopedSystemCallFault;
using fixtures::ScopedSystemCallTrace;
using fixtures::SystemCall;

std::size_t openDescriptors()
{
    return platform::fs::listDirectory("/proc/self/fd").value_or(std::vector<std::string>{}).size();
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
    void TearDown() override
    {
        stop();
        if (IsSkipped())
            return;
        // Every descriptor the service opened is closed again once it stops.
        EXPECT_TRUE(fixtures::eventually([&] { return openDescriptors() == before; }, std::chrono::minutes(1))) << openDescriptors();
    }

    void start()
    {
        service = UninstallServiceWapper::start(ClientCheck(tree.at("/Applications/Ostrova.app")));
        ASSERT_TRUE(service);
    }
    void stop()
    {
        if (service)
            service->xpcServcie.reset();  // joins the accept loop
        service.reset();
    }

    static int connect() { return xpcsocket::connectTo(xpcsocket::pathForService(uninstallservice::kServiceName)); }
    static bool send(int fd, const xpcwire::Request& request) { return xpcwire::writeAll(fd, xpcwire::encodeRequest(request)); }

    // The reply on a connection, or nullopt when it was closed without one.
    static std::optional<bool> replyOn(int fd)
    {
        std::string why;
        const auto frame = xpcwire::readFrame(fd, 30000, why);
        return frame ? xpcwire::decodeReply(*frame, why) : std::nullopt;
    }

    static std::optional<bool> ask(const xpcwire::Request& request)
    {
        const int fd = connect();
        const auto reply = fd >= 0 && send(fd, request) ? replyOn(fd) : std::nullopt;
        ::close(fd);
        return reply;
    }

    fixtures::MacTree tree;
    std::shared_ptr<UninstallServiceWapper> service;
    std::size_t before = 0;
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
        ASSERT_TRUE(fixtures::eventually([&] { return full.failed() >= 6; }, std::chrono::minutes(1)));
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
    EXPECT_EQ(ask({uninstallservice::kTest, {}}), std::optional<bool>(true));}

}  // namespace
