#include "platform/KernelExtensionTable.h"

#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <sstream>

namespace platform {
namespace {

std::mutex tableMutex;
std::shared_ptr<KernelExtensionTable>& installed()
{
    static std::shared_ptr<KernelExtensionTable> table;
    return table;
}

// The module's file as modinfo reports it ("modinfo -n NAME"); nullopt when it cannot tell.
std::optional<std::string> moduleFile(const std::string& name)
{
    for (const char* tool : {"/usr/sbin/modinfo", "/sbin/modinfo"}) {
        if (::access(tool, X_OK) != 0)
            continue;
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return std::nullopt;
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(out[1], 1);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 2);
            ::execl(tool, tool, "-n", name.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        std::string text;
        char buffer[1024];
        ssize_t n;
        while ((n = ::read(out[0], buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(n));
        ::close(out[0]);
        int status = 0;
        if (child > 0)
            ::waitpid(child, &status, 0);
        while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
            text.pop_back();
        if (child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && !text.empty() && text.front() == '/')
            return text;
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::shared_ptr<KernelExtensionTable> KernelExtensionTable::current()
{
    std::lock_guard lock(tableMutex);
    if (!installed())
        installed() = std::make_shared<LinuxModuleTable>();
    return installed();
}

void KernelExtensionTable::install(std::shared_ptr<KernelExtensionTable> table)
{
    std::lock_guard lock(tableMutex);
    installed() = std::move(table);
}

std::optional<KernelExtensionTable::Loaded> LinuxModuleTable::loadedExtensions() const
{
    // /proc files report no size; readFile reads them to the end. A kernel built without loadable
    // modules has no such file: nothing is loaded.
    if (!fs::linkStatus("/proc/modules"))
        return Loaded{};
    const auto contents = fs::readFile("/proc/modules");
    if (!contents)
        return std::nullopt;
    Loaded loaded;
    std::istringstream lines(*contents);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name, size, uses, dependents, state;
        if (!(fields >> name >> size >> uses >> dependents >> state))
            continue;
        Extension extension;
        extension.started = state == "Live";
        extension.bundlePath = moduleFile(name);
        loaded.emplace(name, extension);
    }
    return loaded;
}

int LinuxModuleTable::unload(const std::string& identifier)
{
    if (identifier.empty())
        return EINVAL;
    if (::syscall(SYS_delete_module, identifier.c_str(), O_NONBLOCK) == 0)
        return 0;
    return errno;
}

}  // namespace platform
