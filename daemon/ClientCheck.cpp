#include "daemon/ClientCheck.h"

#include "daemon/DaemonLog.h"
#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProcessIdentity.h"
#include "platform/ProcessTable.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

std::string realPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// Whether only root can change the file at `path`: it and every folder above it are root's, not
// links, and not writable by others (a sticky folder may be, as /tmp is: its root-owned entries stay
// root's to rename).
bool changeableOnlyByRoot(const std::string& path)
{
    std::string walked = path;
    for (;;) {
        struct stat st {};
        if (::lstat(walked.c_str(), &st) != 0 || S_ISLNK(st.st_mode) || st.st_uid != 0 ||
            ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0))
            return false;
        if (walked == "/")
            return true;
        walked = platform::path::deletingLastComponent(walked);
        if (walked.empty())
            walked = "/";
    }
}

}  // namespace

ClientCheck::ClientCheck(std::string bundlePath)
    : bundle_(realPath(bundlePath)),
      app_(realPath(platform::fs::resolveCaseInsensitive(bundlePath, "Contents/MacOS/Ostrova"))),
      helper_(realPath(platform::fs::resolveCaseInsensitive(bundlePath, "Contents/Helpers/ostrova"))),
      agent_(realPath(platform::fs::resolveCaseInsensitive(bundlePath, "Contents/Library/LoginItems/agent.app/Contents/MacOS/agent")))
{
    trustedFolders_ = platform::ProcessTable::systemLibraryFolders();
    trustedFolders_.push_back(bundle_ + "/");
}

ClientCheck ClientCheck::forRunningDaemon()
{
    // Installed, the daemon runs from root's helper folder; its job (root's) names the bundle.
    std::string bundle = platform::Bundle::enclosingAppBundle(platform::Bundle::executablePath());
    if (const char* named = std::getenv("OSTROVA_CLIENT_BUNDLE"); bundle.empty() && named)
        bundle = named;
    return ClientCheck(bundle);
}

bool ClientCheck::runsOnlyTrustedCode(const xpcsocket::Peer& peer, std::string& why) const
{
    const auto tracer = platform::ProcessTable::tracerPid(peer.pid);
    if (!tracer || *tracer != 0) {
        why = tracer ? "it is being traced by pid " + std::to_string(*tracer) : "its status cannot be read";
        return false;
    }
    const auto mapped = platform::ProcessTable::executableMappings(peer.pid);
    if (!mapped) {
        why = "its memory map cannot be read";
        return false;
    }
    for (const auto& file : *mapped) {
        const bool trusted = std::any_of(trustedFolders_.begin(), trustedFolders_.end(),
                                         [&](const std::string& folder) { return platform::path::startsWith(file, folder); });
        if (!trusted || file.find("/../") != std::string::npos) {
            why = "it runs code from " + DaemonLog::escaped(file);
            return false;
        }
    }
    return true;
}

bool ClientCheck::sharesNamespaces(const xpcsocket::Peer& peer, std::string& why) const
{
    return platform::ProcessTable::sharesNamespacesWithSelf(peer.pid, why);
}

bool ClientCheck::accepts(const xpcsocket::Peer& peer, std::string& why) const
{
    if (peer.uid == 0)
        return true;
    const auto executable = platform::process::executableOf(peer);
    if (!executable) {
        why = "its executable cannot be told";
        return false;
    }
    if (*executable != app_ && *executable != helper_ && *executable != agent_) {
        why = "it runs " + DaemonLog::escaped(*executable) + ", not " + app_;
        return false;
    }
    // A bundle a user can change runs whatever that user put there.
    if (!changeableOnlyByRoot(*executable)) {
        why = "its program " + DaemonLog::escaped(*executable) + " can be changed by users other than root";
        return false;
    }
    if (!sharesNamespaces(peer, why) || !runsOnlyTrustedCode(peer, why))
        return false;
    // All of it was read under the pid; it counts only if the pid is still the one that connected.
    if (!platform::process::stillRunning(peer)) {
        why = "it ended while being checked";
        return false;
    }
    return true;
}
