#include "daemon/UninstallServiceWapper.h"

#include "daemon/RemovalPolicy.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/PropertyList.h"
#include "platform/SafeRemover.h"
#include "platform/SystemTools.h"
#include "system/ProcessManager.h"
#include "system/ShellQuote.h"
#include "system/Utility.h"

#include <pwd.h>
#include <sys/stat.h>

#include <cstdio>
#include <regex>

namespace {

void say(const std::string& message)
{
    std::printf("%s\n", message.c_str());
    std::fflush(stdout);
}

bool isValidLabel(const std::string& label)
{
    static const std::regex pattern("^[A-Za-z0-9._-]+$");
    return std::regex_match(label, pattern);
}

// The programs a job file names that exist ("Program", else the strings of "ProgramArguments").
std::vector<std::string> programsOf(const plist::Dictionary& job)
{
    std::vector<std::string> programs;
    const plist::Value* value = plist::find(job, "Program");
    if (!value)
        value = plist::find(job, "ProgramArguments");
    if (!value)
        return programs;
    if (const auto* list = value->get<plist::Array>()) {
        for (const auto& element : *list)
            if (const auto* text = element.get<std::string>(); text && platform::fs::exists(*text))
                programs.push_back(*text);
    } else if (const auto* text = value->get<std::string>(); text && platform::fs::exists(*text)) {
        programs.push_back(*text);
    }
    return programs;
}

}  // namespace

UninstallServiceWapper::UninstallServiceWapper(ClientCheck check) : check_(std::move(check)) {}

std::shared_ptr<UninstallServiceWapper> UninstallServiceWapper::start(ClientCheck check)
{
    auto service = std::make_shared<UninstallServiceWapper>(std::move(check));
    service->xpcServcie = std::make_unique<XPCLocalObject<UninstallServiceprotocol>>(
        uninstallservice::kServiceName, service, [](const std::string& message) { say(message); });
    std::weak_ptr<UninstallServiceWapper> weak = service;
    service->xpcServcie->acceptsPeer = [weak](const xpcsocket::Peer& peer) {
        const auto self = weak.lock();
        std::string why;
        if (self && self->check_.accepts(peer, why))
            return true;
        say("OstrovaDaemon: refused the client pid " + std::to_string(peer.pid) + " (uid " + std::to_string(peer.uid) +
            "): " + why);
        return false;
    };
    if (!service->xpcServcie->resume())
        return nullptr;
    return service;
}

void UninstallServiceWapper::refuse(const std::string& what, const std::string& why)
{
    say("OstrovaDaemon: refused " + what + ": " + why);
}

std::optional<RemovalPolicy> UninstallServiceWapper::policyForCurrentClient() const
{
    const auto* connection = XPCServerConnection::current();
    if (!connection)
        return std::nullopt;
    const auto& peer = connection->peer();
    // A folder the client names in its environment counts only when it is its own: a user could
    // otherwise point the daemon at another user's files (or at a shared /tmp).
    auto ownFolder = [&](const std::optional<std::string>& folder) -> std::optional<std::string> {
        if (!folder || folder->empty() || folder->front() != '/')
            return std::nullopt;
        const auto st = platform::fs::linkStatus(*folder);
        if (!st || !S_ISDIR(st->st_mode) || (peer.uid != 0 && st->st_uid != peer.uid))
            return std::nullopt;
        return platform::path::trimTrailingSlashes(*folder);
    };
    SearchFilePath::User client;
    if (const auto home = ownFolder(xpcsocket::environmentOf(peer, "HOME"))) {
        client.home = *home;
    } else if (const passwd* entry = ::getpwuid(peer.uid); entry && entry->pw_dir) {
        client.home = entry->pw_dir;
    } else {
        return std::nullopt;
    }
    if (const auto tmp = ownFolder(xpcsocket::environmentOf(peer, "TMPDIR")))
        client.temporaryDirectory = *tmp == "/" ? "" : *tmp + "/";
    return RemovalPolicy(client);
}

bool UninstallServiceWapper::permitted(const std::string& what,
                                       const std::function<bool(const RemovalPolicy&, std::string&)>& check) const
{
    const auto policy = policyForCurrentClient();
    std::string why = "the client's places cannot be told";
    if (policy && check(*policy, why))
        return true;
    refuse(what, why);
    return false;
}

void UninstallServiceWapper::testWithReply(Reply reply)
{
    reply(true);
}

void UninstallServiceWapper::removeWithPaths(const std::vector<std::string>& paths, Reply reply)
{
    if (paths.empty()) {
        reply(true);
        return;
    }
    const auto policy = policyForCurrentClient();
    bool result = true;
    for (const auto& path : paths) {
        std::string why = "the client's places cannot be told";
        if (!policy || !policy->allowsRemoval(path, why)) {
            refuse("to remove " + path, why);
            result = false;
            continue;
        }
        if (!platform::fs::linkStatus(path))
            continue;
        if (!platform::SafeRemover::remove(path))
            result = false;
    }
    reply(result);
}

void UninstallServiceWapper::unloadPlistWithPath(const std::string& path, Reply reply)
{
    if (!permitted("to unload " + path, [&](const RemovalPolicy& policy, std::string& why) { return policy.allowsRemoval(path, why); })) {
        reply(false);
        return;
    }
    const auto job = plist::readDictionary(path);
    if (job) {
        if (const auto label = plist::optionalString(*job, "Label"); label && !isValidLabel(*label)) {
            refuse("to unload " + path, "the job's label is not a launchd label");
            reply(false);
            return;
        }
    }
    const std::string command = shellquote::single(platform::tools::launchctl()) + " unload " + shellquote::single(path);
    if (Utility::ShellExecution(command) != 0) {
        reply(false);
        return;
    }
    if (job) {
        for (const auto& program : programsOf(*job)) {
            if (ProcessManager::shared().GetProcessInfoWithExecutableName(platform::path::lastComponent(program), program)) {
                reply(false);
                return;
            }
        }
    }
    platform::SafeRemover::remove(path);
    reply(true);
}

void UninstallServiceWapper::killProcessWithExecutablePath(const std::string& path, const std::string& name, Reply reply)
{
    if (!platform::fs::exists(path)) {
        reply(false);
        return;
    }
    if (!permitted("to end " + path, [&](const RemovalPolicy& policy, std::string& why) { return policy.allowsExecutable(path, why); })) {
        reply(false);
        return;
    }
    const auto process = ProcessManager::shared().GetProcessInfoWithExecutableName(name, path);
    if (!process) {
        reply(false);
        return;
    }
    reply(ProcessManager::shared().OnKillProcessInfo(*process));
}

void UninstallServiceWapper::KillProcessWithBundlePath(const std::string& bundlePath, Reply reply)
{
    if (!platform::fs::exists(bundlePath)) {
        reply(false);
        return;
    }
    if (!permitted("to end the processes of " + bundlePath,
                   [&](const RemovalPolicy& policy, std::string& why) { return policy.allowsBundle(bundlePath, why); })) {
        reply(false);
        return;
    }
    const auto processes = ProcessManager::shared().GetProcessInfoWithBundlePath(bundlePath);
    if (processes.empty()) {
        reply(false);
        return;
    }
    reply(ProcessManager::shared().OnKillProcessInfos(processes));
}
