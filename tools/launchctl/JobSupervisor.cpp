#include "tools/launchctl/JobSupervisor.h"

#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "platform/PathUtil.h"
#include "platform/ProcessIdentity.h"
#include "platform/ProcessTable.h"
#include "platform/SystemRoot.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {

volatile sig_atomic_t stopRequested = 0;
void onStop(int)
{
    stopRequested = 1;
}

void redirect(int target, const std::string& path)
{
    const int fd = path.empty() ? ::open("/dev/null", O_RDWR) : ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd >= 0) {
        ::dup2(fd, target);
        ::close(fd);
    }
}

// The program, pinned by a handle opened while it is still an unreaped child of ours (so surely it).
platform::process::ProcessHandle launch(const JobSupervisor::Job& job)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGTERM, SIG_DFL);
        std::vector<char*> argv;
        std::vector<std::string> copy = job.arguments;
        for (auto& arg : copy)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return platform::process::ProcessHandle(child);
}

void supervise(const JobSupervisor::Job& job)
{
    ::setsid();
    for (const auto& [name, value] : job.environment)
        ::setenv(name.c_str(), value.c_str(), 1);
    redirect(0, "");
    redirect(1, job.standardOut);
    redirect(2, job.standardError);
    struct sigaction action {};
    action.sa_handler = onStop;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);

    auto program = launch(job);
    platform::LaunchJobRecord record;
    record.label = job.label;
    record.path = job.path;
    record.device = static_cast<std::uint64_t>(job.device);
    record.inode = static_cast<std::uint64_t>(job.inode);
    record.loader = ::getuid();
    record.supervisor = ::getpid();
    if (const auto self = platform::ProcessTable::bsdInfo(::getpid()))
        record.supervisorStart = self->startTime;
    record.program = program.pid();
    record.write();

    bool running = program.pid() > 0;
    while (running && !stopRequested) {
        int status = 0;
        const pid_t ended = ::waitpid(program.pid(), &status, 0);
        if (ended < 0) {
            if (errno == EINTR)
                continue;
            running = false;
            break;
        }
        running = false;
        const bool success = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (stopRequested || !(job.keepAliveAlways || (job.restartOnFailure && !success)))
            break;
        // launchd throttles restarts; one second keeps a crashing program from spinning.
        for (int i = 0; i < 10 && !stopRequested; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (stopRequested)
            break;
        program = launch(job);
        running = program.pid() > 0;
        record.program = program.pid();
        record.write();
    }
    if (running) {
        program.signal(SIGTERM);
        if (!program.waitForEnd(2000))
            program.signal(SIGKILL);
        ::waitpid(program.pid(), nullptr, 0);
    }
    // A job that ended on its own stays recorded as loaded, as with launchd, until unloaded.
    if (stopRequested)
        ::unlink(JobSupervisor::recordPath(job.label).c_str());
    else
        for (;;)
            if (stopRequested) {
                ::unlink(JobSupervisor::recordPath(job.label).c_str());
                break;
            } else {
                ::pause();
            }
}

}  // namespace

std::optional<JobSupervisor::Job> JobSupervisor::read(const std::string& jobPath, std::string& why)
{
    const auto file = platform::LaunchJobFile::read(jobPath, false, why);
    if (!file)
        return std::nullopt;
    const plist::Dictionary* dict = &file->job;
    Job job;
    job.label = plist::stringValue(*dict, "Label");
    if (!platform::LaunchJobRecord::isValidLabel(job.label)) {
        why = "Invalid or missing Label";
        return std::nullopt;
    }
    if (const auto program = plist::optionalString(*dict, "Program"))
        job.arguments.push_back(*program);
    if (const auto* list = plist::find(*dict, "ProgramArguments"); list && list->is<plist::Array>()) {
        const auto& items = *list->get<plist::Array>();
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto* text = items[i].get<std::string>();
            if (!text) {
                why = "ProgramArguments holds something that is not a string";
                return std::nullopt;
            }
            if (i == 0 && !job.arguments.empty())
                continue;  // "Program" names the executable; ProgramArguments[0] is then argv[0]
            job.arguments.push_back(*text);
        }
    }
    if (job.arguments.empty() || job.arguments.front().empty() || job.arguments.front().front() != '/') {
        why = "No absolute program path";
        return std::nullopt;
    }
    if (const auto* keepAlive = plist::find(*dict, "KeepAlive")) {
        if (const auto* always = keepAlive->get<bool>())
            job.keepAliveAlways = *always;
        else if (const auto* conditions = keepAlive->get<plist::Dictionary>())
            if (const auto* successful = plist::find(*conditions, "SuccessfulExit"); successful && successful->is<bool>())
                job.restartOnFailure = !*successful->get<bool>();
    }
    job.standardOut = plist::stringValue(*dict, "StandardOutPath");
    job.standardError = plist::stringValue(*dict, "StandardErrorPath");
    if (const auto* variables = plist::find(*dict, "EnvironmentVariables"); variables && variables->is<plist::Dictionary>())
        for (const auto& [name, value] : *variables->get<plist::Dictionary>())
            if (const auto* text = value.get<std::string>(); text && !name.empty() && name.find('=') == std::string::npos)
                job.environment[name] = *text;
    job.path = jobPath;
    if (char cwd[4096]; !jobPath.empty() && jobPath.front() != '/' && ::getcwd(cwd, sizeof cwd))
        job.path = platform::path::appending(cwd, jobPath);
    job.device = file->device;
    job.inode = file->inode;
    return job;
}

std::string JobSupervisor::recordPath(const std::string& label)
{
    return platform::LaunchJobRecord::pathFor(label);
}

int JobSupervisor::loadedSupervisor(const std::string& label)
{
    const auto record = platform::LaunchJobRecord::read(label);
    return record && record->loaded() ? record->supervisor : 0;
}

bool JobSupervisor::loadedFrom(const Job& job)
{
    const auto record = platform::LaunchJobRecord::read(job.label);
    return record && record->loaded() && record->path == job.path && record->device == static_cast<std::uint64_t>(job.device) &&
           record->inode == static_cast<std::uint64_t>(job.inode);
}

bool JobSupervisor::start(const Job& job)
{
    platform::fs::makeDirectories(platform::LaunchJobRecord::folder());
    ::unlink(recordPath(job.label).c_str());
    const pid_t first = ::fork();
    if (first < 0)
        return false;
    if (first == 0) {
        // Detach: the supervisor is reparented and outlives this launchctl.
        if (::fork() == 0) {
            supervise(job);
            ::_exit(0);
        }
        ::_exit(0);
    }
    ::waitpid(first, nullptr, 0);
    for (int i = 0; i < 100; ++i) {
        if (loadedSupervisor(job.label))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool JobSupervisor::stop(const std::string& label)
{
    // Only through a handle on the supervisor that wrote the record: one that died may have left its
    // pid to another process.
    const auto record = platform::LaunchJobRecord::read(label);
    const auto supervisor = record ? record->supervisorHandle() : platform::process::ProcessHandle();
    if (!supervisor.valid() || !supervisor.signal(SIGTERM)) {
        ::unlink(recordPath(label).c_str());
        return false;
    }
    supervisor.waitForEnd(3000);
    ::unlink(recordPath(label).c_str());
    return true;
}
