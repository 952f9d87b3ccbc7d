#include "daemon/tests/DaemonFixture.h"

#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/RunningDaemon.h"
#include "fixtures/TestAuthority.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "platform/ProcessTable.h"
#include "system/Utility.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/UnixSocket.h"
#include "xpc/XPCMessage.h"
#include "xpc/XPCRemoteObject.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace std::chrono_literals;

fixtures::MacTree* DaemonFixture::tree = nullptr;
std::string DaemonFixture::bundle, DaemonFixture::daemon, DaemonFixture::app, DaemonFixture::stranger, DaemonFixture::log,
    DaemonFixture::job;

void DaemonFixture::SetUpTestSuite()
{
    startDaemon("yes");
}

void DaemonFixture::startDaemon(const std::string& answer)
{
    auto& authority = fixtures::TestAuthority::shared();
    ASSERT_TRUE(authority.isUp()) << authority.why();
    tree = new fixtures::MacTree("tester");
    // The unprivileged user's account is the tree's: its password entry names the tree's home.
    ASSERT_TRUE(authority.setHome(fixtures::unprivilegedUid(), tree->home()));
    authority.answer(platform::ProcessTable::loginName(fixtures::unprivilegedUid()).value_or("nobody"), answer);
    tree->activate();
    tree->environment().set("OSTROVA_LAUNCHCTL", OSTROVA_LAUNCHCTL_PATH);
    bundle = tree->at("/Applications/Ostrova.app");
    daemon = fixtures::copyExecutable(bundle + "/Contents/MacOS/OstrovaDaemon", OSTROVA_DAEMON_PATH);
    app = fixtures::copyExecutable(bundle + "/Contents/MacOS/Ostrova", OSTROVA_CLIENT_PATH);
    stranger = fixtures::copyExecutable(tree->at("/usr/local/bin/stranger"), OSTROVA_CLIENT_PATH);
    log = tree->at("/daemon.log");
    job = tree->at("/Library/LaunchDaemons/com.halvane.ostrova.plist");
    tree->writePlist(job, plist::Value(plist::Dictionary{
                              {"Label", Utility::kDaemonLabel},
                              {"MachServices", plist::Dictionary{{Utility::kMachService, true}}},
                              {"KeepAlive", plist::Dictionary{{"SuccessfulExit", false}}},
                              {"ProgramArguments", plist::Array{plist::Value(daemon), plist::Value("loadBySystem")}},
                              {"RunAtload", true},
                              {"EnvironmentVariables", plist::Dictionary{{"DBUS_SYSTEM_BUS_ADDRESS", authority.busAddress()}}},
                              {"StandardOutPath", log},
                              {"StandardErrorPath", log}}));
    // Clients of another user must reach the tree and the socket; the client's home is its own,
    // the files in it still root's.
    ::chmod(tree->root().c_str(), 0755);
    ::chown(tree->home().c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    // The daemon inherits a common descriptor limit, so running out of descriptors is testable.
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = std::min<rlim_t>(1024, limit.rlim_max);
    ::setrlimit(RLIMIT_NOFILE, &limit);
    const auto loaded = fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "load", "-w", job});
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    for (int i = 0; i < 100 && !answers(); ++i)
        std::this_thread::sleep_for(50ms);
}

void DaemonFixture::TearDownTestSuite()
{
    fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "unload", job});
    fixtures::stopEveryJob(tree->root(), OSTROVA_LAUNCHCTL_PATH);
    delete tree;
    tree = nullptr;
}

bool DaemonFixture::answers()
{
    XPCRemoteObject<UninstallServiceprotocol> remote(uninstallservice::kServiceName, nullptr);
    return remote.test();
}

std::string DaemonFixture::call(std::vector<std::string> words, const std::string& program, bool unprivileged,
                                const std::string& home, const std::map<std::string, std::string>& environment)
{
    std::vector<std::string> argv = {program};
    if (unprivileged) {
        argv.push_back("--uid");
        argv.push_back(std::to_string(fixtures::unprivilegedUid()));
    }
    argv.insert(argv.end(), words.begin(), words.end());
    std::map<std::string, std::string> variables = {{"HOME", home.empty() ? tree->home() : home},
                                                    {"TMPDIR", tree->temporaryDirectory()}};
    for (const auto& [name, value] : environment)
        variables[name] = value;
    return fixtures::runProcess(argv, variables).out;
}

bool DaemonFixture::replied(const std::string& output, bool value)
{
    return output.find(value ? "reply=1" : "reply=0") != std::string::npos;
}

std::optional<bool> DaemonFixture::sendRaw(const std::string& bytes)
{
    const int fd = xpcsocket::connectTo(xpcsocket::pathForService(uninstallservice::kServiceName));
    if (fd < 0)
        return std::nullopt;
    std::string why;
    std::optional<std::string> answer;
    if (xpcwire::writeAll(fd, bytes))
        answer = xpcwire::readFrame(fd, 10000, why);
    ::close(fd);
    return answer ? xpcwire::decodeReply(*answer, why) : std::nullopt;
}

std::string DaemonFixture::daemonLog()
{
    return platform::fs::readFile(log).value_or("");
}

pid_t DaemonFixture::daemonPid()
{
    const auto record = platform::LaunchJobRecord::read(Utility::kDaemonLabel);
    return record ? record->program : -1;
}

long DaemonFixture::daemonStatusKb(const std::string& field)
{
    const auto status = platform::fs::readFile("/proc/" + std::to_string(daemonPid()) + "/status");
    if (!status)
        return -1;
    const auto at = status->find(field + ":");
    return at == std::string::npos ? -1 : std::strtol(status->c_str() + at + field.size() + 1, nullptr, 10);
}
