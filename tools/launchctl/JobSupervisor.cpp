#include "tools/launchctl/JobSupervisor.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <regex>
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

pid_t launch(const JobSupervisor::Job& job)
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
    return child;
}

void supervise(const JobSupervisor::Job& job, const std::string& jobPath)
{
    ::setsid();
    redirect(0, "");
    redirect(1, job.standardOut);
    redirect(2, job.standardError);
    struct sigaction action {};
    action.sa_handler = onStop;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);

    pid_t program = launch(job);
    plist::Dictionary record{{"Label", job.label}, {"Path", jobPath}, {"Supervisor", std::int64_t{::getpid()}},
                             {"Program", std::int64_t{program}}};
    plist::writeFile(JobSupervisor::recordPath(job.label), plist::Value(record));

    while (!stopRequested) {
        int status = 0;
        const pid_t ended = ::waitpid(program, &status, 0);
        if (ended < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        const bool success = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (stopRequested || !(job.keepAliveAlways || (job.restartOnFailure && !success))) {
            program = -1;
            break;
        }
        // launchd throttles restarts; one second keeps a crashing program from spinning.
        for (int i = 0; i < 10 && !stopRequested; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (stopRequested) {
            program = -1;
            break;
        }
        program = launch(job);
        record["Program"] = std::int64_t{program};
        plist::writeFile(JobSupervisor::recordPath(job.label), plist::Value(record));
    }
    if (program > 0) {
        ::kill(program, SIGTERM);
        for (int i = 0; i < 50; ++i) {
            if (::waitpid(program, nullptr, WNOHANG) == program) {
                program = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        }
        if (program > 0) {
            ::kill(program, SIGKILL);
            ::waitpid(program, nullptr, 0);
        }
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
    const auto dict = plist::readDictionary(jobPath);
    if (!dict) {
        why = "Invalid property list";
        return std::nullopt;
    }
    Job job;
    job.label = plist::stringValue(*dict, "Label");
    static const std::regex labelPattern("^[A-Za-z0-9._-]+$");
    if (!std::regex_match(job.label, labelPattern)) {
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
    return job;
}

std::string JobSupervisor::recordPath(const std::string& label)
{
    return platform::fixedPath("/var/run/launchd") + "/" + label + ".job";
}

int JobSupervisor::loadedSupervisor(const std::string& label)
{
    const auto record = plist::readDictionary(recordPath(label));
    if (!record)
        return 0;
    const auto* supervisor = plist::find(*record, "Supervisor");
    if (!supervisor || !supervisor->is<std::int64_t>())
        return 0;
    const auto pid = static_cast<pid_t>(*supervisor->get<std::int64_t>());
    if (pid <= 0 || ::kill(pid, 0) != 0)
        return 0;
    return pid;
}

bool JobSupervisor::start(const Job& job, const std::string& jobPath)
{
    platform::fs::makeDirectories(platform::fixedPath("/var/run/launchd"));
    ::unlink(recordPath(job.label).c_str());
    const pid_t first = ::fork();
    if (first < 0)
        return false;
    if (first == 0) {
        // Detach: the supervisor is reparented and outlives this launchctl.
        if (::fork() == 0) {
            supervise(job, jobPath);
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
    const int supervisor = loadedSupervisor(label);
    if (supervisor <= 0) {
        ::unlink(recordPath(label).c_str());
        return false;
    }
    ::kill(supervisor, SIGTERM);
    for (int i = 0; i < 150; ++i) {
        if (::kill(supervisor, 0) != 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::unlink(recordPath(label).c_str());
    return true;
}
