#include "platform/linux/LinuxModuleTable.h"

#include "platform/FileSystem.h"
#include "platform/Subprocess.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>

namespace platform {
namespace {

// A modinfo that does not answer in this time is taken as not knowing.
constexpr std::chrono::seconds kModinfoTimeout{10};

// The module's file as modinfo reports it ("modinfo -n NAME"); nullopt when it cannot tell.
std::optional<std::string> moduleFile(const std::string& name)
{
    for (const char* tool : {"/usr/sbin/modinfo", "/sbin/modinfo"}) {
        if (::access(tool, X_OK) != 0)
            continue;
        Subprocess::Options options;
        options.silenceOtherOutput = true;
        options.timeout = kModinfoTimeout;
        auto run = Subprocess::run({tool, "-n", name}, options);
        std::string& text = run.output;
        while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
            text.pop_back();
        if (run.exited && run.exitCode == 0 && !text.empty() && text.front() == '/')
            return text;
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::shared_ptr<KernelExtensionTable> KernelExtensionTable::systemTable()
{
    return std::make_shared<LinuxModuleTable>();
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
