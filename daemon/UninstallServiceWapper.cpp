#include "daemon/UninstallServiceWapper.h"

#include "daemon/ClientPlaces.h"
#include "daemon/DaemonLog.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "platform/PathUtil.h"
#include "platform/SafeRemover.h"
#include "platform/SystemLinks.h"
#include "platform/SystemRoot.h"
#include "platform/SystemTools.h"
#include "system/ProcessManager.h"
#include "system/ShellQuote.h"
#include "system/Utility.h"

#include <sys/stat.h>


namespace path = platform::path;

namespace {

// As the checks see paths: with the system's links above it resolved (the root may lie below one).
std::string ownJobFile()
{
    const std::string spelled = platform::fixedPath("/Library/LaunchDaemons/com.halvane.ostrova.plist");
    std::string why;
    return platform::SystemLinks::resolveParents(spelled, why).value_or(spelled);
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

UninstallServiceWapper::UninstallServiceWapper(ClientCheck check, AdministratorGroup administrators)
    : check_(std::move(check)), administrators_(administrators), processes_(check_.bundlePath())
{
}

std::shared_ptr<UninstallServiceWapper> UninstallServiceWapper::start(ClientCheck check, AdministratorGroup administrators)
{
    auto service = std::make_shared<UninstallServiceWapper>(std::move(check), administrators);
    service->xpcServcie = std::make_unique<XPCLocalObject<UninstallServiceprotocol>>(
        uninstallservice::kServiceName, service, [](const std::string& message) { DaemonLog::shared().write("link", DaemonLog::escaped(message)); });
    std::weak_ptr<UninstallServiceWapper> weak = service;
    service->xpcServcie->acceptsPeer = [weak](const xpcsocket::Peer& peer) {
        const auto self = weak.lock();
        std::string why;
        if (self && self->check_.accepts(peer, why))
            return true;
        DaemonLog::shared().write("client", "refused the client pid " + std::to_string(peer.pid) + " (uid " +
                                                std::to_string(peer.uid) + "): " + why);
        return false;
    };
    if (!service->xpcServcie->resume())
        return nullptr;
    return service;
}

void UninstallServiceWapper::refuse(const std::string& what, const std::string& why)
{
    DaemonLog::shared().write("refusal", "refused " + DaemonLog::escaped(what) + ": " + why);
}

std::optional<UninstallServiceWapper::Client> UninstallServiceWapper::currentClient() const
{
    const auto* connection = XPCServerConnection::current();
    if (!connection)
        return std::nullopt;
    const auto& peer = connection->peer();
    const auto places = ClientPlaces::of(peer, administrators_);
    if (!places)
        return std::nullopt;
    return Client{peer.uid, places->systemWide, RemovalPolicy(*places)};
}

bool UninstallServiceWapper::isOwn(const std::string& candidate) const
{
    const std::string lowered = path::toLower(candidate);
    for (const auto& own : {check_.bundlePath(), ownJobFile()}) {
        const std::string ownLowered = path::toLower(own);
        if (lowered == ownLowered || path::isInside(lowered, ownLowered))
            return true;
    }
    return processes_.isOwnBundle(candidate);
}

bool UninstallServiceWapper::allowsRemoval(const Client& client, const std::string& candidate, std::string& why) const
{
    if (!client.policy.allowsRemoval(candidate, why))
        return false;
    if (isOwn(candidate)) {
        why = "the daemon's own bundle or job file";
        return false;
    }
    return true;
}

std::optional<std::string> UninstallServiceWapper::removablePlace(const std::optional<Client>& client, const std::string& requested,
                                                                  const std::string& what) const
{
    std::string why = "the client's places cannot be told";
    const auto real = client ? platform::SystemLinks::resolveParents(requested, why) : std::nullopt;
    if (!real || !allowsRemoval(*client, *real, why)) {
        refuse(what, why);
        return std::nullopt;
    }
    return real;
}

std::optional<ClientTrash> UninstallServiceWapper::trashFor(const Client& client, const std::string& real, const std::string& trashName,
                                                            bool create, const std::string& what)
{
    if (!platform::TrashMover::isOneName(trashName)) {
        refuse(what + " as " + trashName, "not one plain name");
        return std::nullopt;
    }
    std::string why;
    auto trash = ClientTrash::open(client.uid, client.policy.home(), real, create, why);
    if (!trash)
        refuse(what, "no Trash of the client's own: " + DaemonLog::escaped(why));
    return trash;
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
    const auto client = currentClient();
    bool result = true;
    for (const auto& candidate : paths) {
        std::string why = "the client's places cannot be told";
        const auto real = client ? platform::SystemLinks::resolveParents(candidate, why) : std::nullopt;
        if (!real || !allowsRemoval(*client, *real, why)) {
            refuse("to remove " + candidate, why);
            result = false;
            continue;
        }
        if (!platform::fs::linkStatus(*real))
            continue;
        if (!platform::SafeRemover::remove(*real))
            result = false;
    }
    reply(result);
}

bool UninstallServiceWapper::unloadJob(const Client& client, const std::string& jobPath, const platform::LaunchJobFile& file)
{
    const std::string label = plist::stringValue(file.job, "Label");
    if (!platform::LaunchJobRecord::isValidLabel(label)) {
        refuse("to unload " + jobPath, "the job's label is not a launchd label");
        return false;
    }
    if (label == Utility::kDaemonLabel) {
        refuse("to unload " + jobPath, "it names the daemon's own job");
        return false;
    }
    const auto record = platform::LaunchJobRecord::read(label);
    if (!record || !record->loaded())
        return true;  // nothing is loaded under that label: nothing to stop
    // The record keeps the path launchctl was given, which may pass the system's links.
    auto loaded = *record;
    std::string unresolved;
    loaded.path = platform::SystemLinks::resolveParents(record->path, unresolved).value_or(record->path);
    if (!loaded.loadedFrom(jobPath, file)) {
        refuse("to unload " + jobPath, "the job " + label + " was loaded from another file");
        return false;
    }
    // A user's own job folder holds that user's jobs (which launchd loads for it, root here); the
    // system's folders hold root's only.
    const bool userDomain = client.policy.inHome(jobPath);
    if (record->loader != 0 && !(userDomain && record->loader == client.uid)) {
        refuse("to unload " + jobPath, "the job was loaded by uid " + std::to_string(record->loader));
        return false;
    }
    const std::string command = shellquote::single(platform::tools::launchctl()) + " remove " + shellquote::single(label);
    return Utility::ShellExecution(command) == 0;
}

bool UninstallServiceWapper::unloadForRemoval(const Client& client, const std::string& jobPath, const std::string& real)
{
    std::string why;
    const auto file = platform::LaunchJobFile::read(real, true, why);
    if (!file) {
        if (platform::fs::linkStatus(real))
            refuse("to unload " + jobPath, why);
        return false;
    }
    if (!unloadJob(client, real, *file))
        return false;
    for (const auto& program : programsOf(file->job)) {
        if (ProcessManager::shared().GetProcessInfoWithExecutableName(path::lastComponent(program), program))
            return false;
    }
    return true;
}

void UninstallServiceWapper::unloadPlistWithPath(const std::string& jobPath, Reply reply)
{
    const auto client = currentClient();
    const auto real = removablePlace(client, jobPath, "to unload " + jobPath);
    if (!real || !unloadForRemoval(*client, jobPath, *real)) {
        reply(false);
        return;
    }
    platform::SafeRemover::remove(*real);
    reply(true);
}

void UninstallServiceWapper::unloadPlistWithPath(const std::string& jobPath, const std::string& trashName, Reply reply)
{
    const auto client = currentClient();
    const auto real = removablePlace(client, jobPath, "to unload " + jobPath);
    // The Trash is opened first: a job is never stopped for a file that could not go then.
    const auto trash = real ? trashFor(*client, *real, trashName, true, "to unload " + jobPath) : std::nullopt;
    if (!trash || !unloadForRemoval(*client, jobPath, *real)) {
        reply(false);
        return;
    }
    std::string why;
    if (!trash->moveIn(*real, trashName, why)) {
        refuse("to move " + jobPath + " to the Trash", DaemonLog::escaped(why));
        reply(false);
        return;
    }
    reply(true);
}

void UninstallServiceWapper::killProcessWithExecutablePath(const std::string& requested, const std::string& name, Reply reply)
{
    const auto client = currentClient();
    std::string why = "the client's places cannot be told";
    const auto real = client ? platform::SystemLinks::resolveParents(requested, why) : std::nullopt;
    if (!real || !client->policy.allowsExecutable(*real, why)) {
        refuse("to end " + requested, why);
        reply(false);
        return;
    }
    const std::string& executable = *real;
    if (!platform::fs::exists(executable)) {
        reply(false);
        return;
    }
    const auto process = ProcessManager::shared().GetProcessInfoWithExecutableName(name, executable);
    if (!process) {
        reply(false);
        return;
    }
    if (!processes_.mayEnd(*process, client->uid, client->administrator, why)) {
        refuse("to end " + executable + " (pid " + std::to_string(process->pid) + ")", why);
        reply(false);
        return;
    }
    reply(ProcessManager::shared().OnKillProcessInfo(*process));
}

void UninstallServiceWapper::KillProcessWithBundlePath(const std::string& requested, Reply reply)
{
    const auto client = currentClient();
    std::string why = "the client's places cannot be told";
    const auto real = client ? platform::SystemLinks::resolveParents(requested, why) : std::nullopt;
    if (!real || !client->policy.allowsBundle(*real, why)) {
        refuse("to end the processes of " + requested, why);
        reply(false);
        return;
    }
    const std::string& bundlePath = *real;
    if (isOwn(bundlePath)) {
        why = "the daemon's own bundle";
        refuse("to end the processes of " + bundlePath, why);
        reply(false);
        return;
    }
    if (!platform::fs::exists(bundlePath)) {
        reply(false);
        return;
    }
    ProcessManager::Processes allowed;
    bool refusedAny = false;
    for (const auto& process : ProcessManager::shared().GetProcessInfoWithBundlePath(bundlePath)) {
        if (processes_.mayEnd(*process, client->uid, client->administrator, why)) {
            allowed.push_back(process);
        } else {
            refuse("to end " + bundlePath + " (pid " + std::to_string(process->pid) + ")", why);
            refusedAny = true;
        }
    }
    if (allowed.empty()) {
        reply(false);
        return;
    }
    const bool ended = ProcessManager::shared().OnKillProcessInfos(allowed);
    reply(ended && !refusedAny);
}

void UninstallServiceWapper::moveToTrashWithPath(const std::string& requested, const std::string& trashName, Reply reply)
{
    const auto client = currentClient();
    const std::string what = "to move " + requested + " to the Trash";
    const auto real = removablePlace(client, requested, what);
    const auto trash = real ? trashFor(*client, *real, trashName, true, what) : std::nullopt;
    if (!trash) {
        reply(false);
        return;
    }
    std::string why;
    if (!trash->moveIn(*real, trashName, why)) {
        refuse(what, DaemonLog::escaped(why));
        reply(false);
        return;
    }
    reply(true);
}

void UninstallServiceWapper::putBackWithPath(const std::string& requested, const std::string& trashName, Reply reply)
{
    const auto client = currentClient();
    const std::string what = "to put " + trashName + " back at " + requested;
    const auto real = removablePlace(client, requested, what);
    const auto trash = real ? trashFor(*client, *real, trashName, false, what) : std::nullopt;
    if (!trash) {
        reply(false);
        return;
    }
    std::string why;
    if (!trash->moveBack(trashName, *real, client->uid, why)) {
        refuse(what, DaemonLog::escaped(why));
        reply(false);
        return;
    }
    reply(true);
}
