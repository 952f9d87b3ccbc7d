#include "daemon/ProcessPolicy.h"

#include "platform/PathUtil.h"
#include "platform/ProcessTable.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

ProcessPolicy::ProcessPolicy(const std::string& ownBundle)
{
    char resolved[PATH_MAX];
    ownBundle_ = ::realpath(ownBundle.c_str(), resolved) ? std::string(resolved) : ownBundle;
    struct stat st {};
    if (::stat(ownBundle_.c_str(), &st) == 0) {
        device_ = st.st_dev;
        inode_ = st.st_ino;
    }
}

bool ProcessPolicy::isOwnBundle(const std::string& bundlePath) const
{
    struct stat st {};
    return ::stat(bundlePath.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_;
}

bool ProcessPolicy::mayEnd(const RkProcessInfo& process, uid_t client, const std::function<bool(std::string&)>& mayEndOthers,
                           std::string& why) const
{
    if (process.pid <= 1 || process.pid == ::getpid() || process.pid == ::getppid()) {
        why = "the daemon and its supervisor are not to be ended";
        return false;
    }
    const auto executable = process.executablePath ? *process.executablePath : platform::ProcessTable::executablePath(process.pid).value_or("");
    if (executable.empty() || platform::path::isInside(executable, ownBundle_)) {
        why = "a process of the daemon's own bundle";
        return false;
    }
    const auto info = platform::ProcessTable::bsdInfo(process.pid);
    if (!info) {
        why = "the process has ended";
        return false;
    }
    if (client != 0 && info->uid != client && !mayEndOthers(why)) {
        why = "a process of another user: " + why;
        return false;
    }
    return true;
}
