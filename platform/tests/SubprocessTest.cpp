#include "fixtures/SystemCallFault.h"
#include "platform/Subprocess.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>

namespace {

using fixtures::ScopedSystemCallTrace;
using fixtures::SystemCall;
using platform::Subprocess;
using namespace std::chrono_literals;

// The position of the first waitpid that reaped `pid`; events.size() when none did.
std::size_t reapedAt(const std::vector<ScopedSystemCallTrace::Event>& events, pid_t pid)
{
    const auto found = std::find_if(events.begin(), events.end(), [&](const auto& event) {
        return event.call == SystemCall::waitpid && event.result == pid;
    });
    return static_cast<std::size_t>(found - events.begin());
}

std::vector<std::size_t> signalledAt(const std::vector<ScopedSystemCallTrace::Event>& events, pid_t pid)
{
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < events.size(); ++i)
        if (events[i].call == SystemCall::kill && events[i].argument == pid)
            at.push_back(i);
    return at;
}

pid_t onlyChild(const ScopedSystemCallTrace& trace)
{
    const auto waits = trace.of(SystemCall::waitpid);
    return waits.size() == 1 ? static_cast<pid_t>(waits.front().result) : -1;
}

// A child that ends by itself is never signalled.
TEST(SubprocessTest, ReadsTheChosenOutputAndTheStatus)
{
    {
        ScopedSystemCallTrace trace;
        const auto out = Subprocess::run({"/bin/sh", "-c", "echo to-out; echo to-err >&2; exit 3"}, {1, true, std::nullopt});
        EXPECT_TRUE(out.started);
        EXPECT_TRUE(out.exited);
        EXPECT_EQ(out.exitCode, 3);
        EXPECT_EQ(out.output, "to-out\n");
        const pid_t child = onlyChild(trace);
        ASSERT_GT(child, 0);
        EXPECT_TRUE(signalledAt(trace.events(), child).empty());
    }
    const auto err = Subprocess::run({"/bin/sh", "-c", "echo to-out >/dev/null; echo to-err >&2"}, {2, false, std::nullopt});
    EXPECT_EQ(err.exitCode, 0);
    EXPECT_EQ(err.output, "to-err\n");

    const auto signalled = Subprocess::run({"/bin/sh", "-c", "kill -TERM $$"});
    EXPECT_FALSE(signalled.exited);
    EXPECT_EQ(signalled.signal, SIGTERM);

    EXPECT_FALSE(Subprocess::run({"/no/such/program"}).started);
    EXPECT_FALSE(Subprocess::run({}).started);
}

TEST(SubprocessTest, AChildPastItsTimeOutIsKilledBeforeItIsReaped)
{
    ScopedSystemCallTrace trace;
    Subprocess::Options options;
    options.timeout = 300ms;
    // Runs far longer than its time-out.
    const auto run = Subprocess::run({"/bin/sh", "-c", "exec sleep 100000"}, options);
    EXPECT_TRUE(run.timedOut);
    EXPECT_EQ(run.signal, SIGKILL);
    const auto events = trace.events();
    const pid_t child = onlyChild(trace);
    ASSERT_GT(child, 0);
    const auto signals = signalledAt(events, child);
    ASSERT_EQ(signals.size(), 1u);
    EXPECT_LT(signals.front(), reapedAt(events, child));
}

}  // namespace
