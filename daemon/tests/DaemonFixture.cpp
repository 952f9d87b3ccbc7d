#include "daemon/tests/DaemonFixture.h"

#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/TestAuthority.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "system/Utility.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/UnixSocket.h"
#include "xpc/XPCMessage.h"
#include "xpc/XPCRemoteObject.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

fixtures::MacTree* DaemonFixture::tree = nullptr;
fixtures::RunningDaemon* DaemonFixture::running = nullptr;
std::string DaemonFixture::bundle, DaemonFixture::daemon, DaemonFixture::app, DaemonFixture::stranger, DaemonFixture::log,
    DaemonFixture::job;

void DaemonFixture::SetUpTestSuite()
{
    startDaemon("yes");
}

void DaemonFixture::startDaemon(const std::string& answer)
{
    tree = new fixtures::MacTree("tester");
    tree->activate();
    bundle = tree->at("/Applications/Ostrova.app");
    app = fixtures::copyExecutable(bundle + "/Contents/MacOS/Ostrova", OSTROVA_CLIENT_PATH);
    stranger = fixtures::copyExecutable(tree->at("/usr/local/bin/stranger"), OSTROVA_CLIENT_PATH);
    log = tree->at("/daemon.log");
    // Clients of another user must reach the tree and the socket; the client's home is its own,
    // the files in it still root's.
    ::chmod(tree->root().c_str(), 0755);
    giveToUser(tree->home());
    // The daemon inherits a common descriptor limit, so running out of descriptors is testable.
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = std::min<rlim_t>(1024, limit.rlim_max);
    ::setrlimit(RLIMIT_NOFILE, &limit);
    running = new fixtures::RunningDaemon(*tree, OSTROVA_DAEMON_PATH, OSTROVA_LAUNCHCTL_PATH, answer);
    daemon = running->daemonPath();
    job = running->jobPath();
    ASSERT_TRUE(running->isUp()) << fixtures::TestAuthority::shared().why() << daemonLog();
}

void DaemonFixture::TearDownTestSuite()
{
    delete running;
    delete tree;
    running = nullptr;
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
    if (unprivileged)
        argv.insert(argv.end(), {"--uid", std::to_string(fixtures::unprivilegedUid())});
    argv.insert(argv.end(), words.begin(), words.end());
    auto variables = environment;  // its own HOME and TMPDIR stand
    variables.emplace("HOME", home.empty() ? tree->home() : home);
    variables.emplace("TMPDIR", tree->temporaryDirectory());
    return fixtures::runProcess(argv, variables).out;
}

bool DaemonFixture::replied(const std::string& output, bool value)
{
    return output.find(value ? "reply=1" : "reply=0") != std::string::npos;
}

std::string DaemonFixture::file(const std::string& path, const std::string& content)
{
    tree->writeFile(path, content);
    return path;
}

std::optional<bool> DaemonFixture::sendRaw(const std::string& bytes)
{
    const int fd = xpcsocket::connectTo(xpcsocket::pathForService(uninstallservice::kServiceName));
    std::string why;
    const auto answer = fd >= 0 && xpcwire::writeAll(fd, bytes) ? xpcwire::readFrame(fd, 10000, why) : std::nullopt;
    ::close(fd);
    return answer ? xpcwire::decodeReply(*answer, why) : std::nullopt;
}

std::string DaemonFixture::daemonLog()
{
    return platform::fs::readFile(log).value_or("");
}

std::string DaemonFixture::writeJob(const std::string& path, const std::string& label, const std::string& program,
                                    const std::vector<std::string>& arguments)
{
    plist::Array words = {plist::Value(program)};
    words.insert(words.end(), arguments.begin(), arguments.end());
    tree->writePlist(path, plist::Value(plist::Dictionary{{"Label", label}, {"ProgramArguments", words}}));
    return path;
}

int DaemonFixture::launchctl(const std::string& verb, const std::string& path)
{
    return fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, verb, path}).exitCode;
}

bool DaemonFixture::loaded(const std::string& label)
{
    const auto record = platform::LaunchJobRecord::read(label);
    return record && record->loaded();
}

void DaemonFixture::giveToUser(const std::string& path)
{
    ::chown(path.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
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
