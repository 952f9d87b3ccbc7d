#include "daemon/UninstallServiceWapper.h"

#include "daemon/ClientPlaces.h"
#include "daemon/DaemonLog.h"
#include "platform/Authorization.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "platform/PathUtil.h"
#include "platform/SafeRemover.h"
#include "platform/Subprocess.h"
#include "platform/SystemLinks.h"
#include "platform/SystemRoot.h"
#include "platform/SystemTools.h"
#include "system/ProcessManager.h"
#include "system/ShellQuote.h"
#include "system/Utility.h"

#include <sys/stat.h>


namespace path = platform::path;

namespace {

constexpr const char* kInstalledHelper = "/Library/PrivilegedHelperTools/com.halvane.ostrova";

// As the checks see paths: with the system's links above it resolved (the root may lie below one).
std::string ownJobFile()
{
    const std::string spelled = platform::fixedPath("/Library/LaunchDaemons/com.halvane.ostrova.plist");
    std::string why;
    return platform::SystemLinks::resolveParents(spelled, why).value_or(spelled);
}

}  // namespace

UninstallServiceWapper::UninstallServiceWapper(ClientCheck check, TrashLedger& ledger)
    : check_(std::move(check)), ledger_(ledger), processes_(check_.bundlePath())
{
}

std::shared_ptr<UninstallServiceWapper> UninstallServiceWapper::start(ClientCheck check, TrashLedger& ledger)
{
    auto service = std::make_shared<UninstallServiceWapper>(std::move(check), ledger);
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
    std::string why;
    const auto places = ClientPlaces::of(peer, why);
    if (!places) {
        DaemonLog::shared().write("client", "no places for pid " + std::to_string(peer.pid) + ": " + DaemonLog::escaped(why));
        return std::nullopt;
    }
    return Client{peer, RemovalPolicy(*places), {}};
}

bool UninstallServiceWapper::Client::holds(const std::string& right, std::string& why)
{
    // Root needs nobody's leave for what it could do itself.
    if (peer.uid == 0)
        return true;
    if (const auto known = rights.find(right); known != rights.end()) {
        if (!known->second)
            why = "no administrator's right " + right;
        return known->second;
    }
    const auto answer = platform::authorization::check(peer, right, true);
    const bool granted = answer == platform::authorization::Answer::granted;
    rights[right] = granted;
    DaemonLog::shared().write("authorization", std::string(granted ? "granted " : "did not grant ") + right + " to pid " +
                                                   std::to_string(peer.pid) + " (uid " + std::to_string(peer.uid) + "): " +
                                                   platform::authorization::describe(answer));
    if (!granted)
        why = std::string("no administrator's right ") + right + ": " + platform::authorization::describe(answer);
    return granted;
}

bool UninstallServiceWapper::isOwn(const std::string& candidate) const
{
    std::string unresolved;
    const std::string lowered = path::toLower(candidate);
    const std::string helper = platform::SystemLinks::resolveParents(platform::fixedPath(kInstalledHelper), unresolved).value_or("");
    for (const auto& own : {check_.bundlePath(), ownJobFile(), helper, helper + ".launchctl"}) {
        const std::string ownLowered = path::toLower(own);
        if (lowered == ownLowered || path::isInside(lowered, ownLowered))
            return true;
    }
    return processes_.isOwnBundle(candidate);
}

bool UninstallServiceWapper::allowsRemoval(Client& client, const std::string& candidate, std::string& why) const
{
    if (!client.policy.allowsRemoval(candidate, why))
        return false;
    if (isOwn(candidate)) {
        why = "the daemon's own bundle or job file";
        return false;
    }
    return client.policy.inOwnPlaces(candidate) || client.holds(uninstallservice::kRightRemoveSystemItems, why);
}

std::optional<std::string> UninstallServiceWapper::removablePlace(std::optional<Client>& client, const std::string& requested,
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
    auto trash = ClientTrash::open(client.uid(), client.policy.home(), real, create, why);
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
    auto client = currentClient();
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

bool UninstallServiceWapper::unloadJob(Client& client, const std::string& jobPath, const platform::LaunchJobFile& file)
{
    std::string why;
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
    // A job the client loaded from its own job folder is the client's to stop; a job root loaded runs
    // as root, so stopping it takes the right to remove system items; another user's is never ours.
    const bool userDomain = client.policy.inHome(jobPath);
    const bool clientsOwn = userDomain && record->loader == client.uid();
    if (!clientsOwn && record->loader != 0) {
        refuse("to unload " + jobPath, "the job was loaded by uid " + std::to_string(record->loader));
        return false;
    }
    if (!clientsOwn && !client.holds(uninstallservice::kRightRemoveSystemItems, why)) {
        refuse("to unload " + jobPath, why);
        return false;
    }
    const std::string command = shellquote::single(platform::tools::launchctl()) + " remove " + shellquote::single(label);
    return Utility::ShellExecution(command) == 0;
}

bool UninstallServiceWapper::unloadForRemoval(Client& client, const std::string& jobPath, const std::string& real)
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
    // Only the program itself: the other arguments are the program's, not programs of the job.
    const std::string program = platform::LaunchJobFile::programOf(file->job);
    return program.empty() || !platform::fs::exists(program) ||
           !ProcessManager::shared().GetProcessInfoWithExecutableName(path::lastComponent(program), program);
}

void UninstallServiceWapper::unloadPlistWithPath(const std::string& jobPath, Reply reply)
{
    auto client = currentClient();
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
    auto client = currentClient();
    const auto real = removablePlace(client, jobPath, "to unload " + jobPath);
    // The Trash is opened first: a job is never stopped for a file that could not go then.
    const auto trash = real ? trashFor(*client, *real, trashName, true, "to unload " + jobPath) : std::nullopt;
    if (!trash || !unloadForRemoval(*client, jobPath, *real)) {
        reply(false);
        return;
    }
    reply(moveIntoTrash(*client, *trash, *real, trashName, "to move " + jobPath + " to the Trash"));
}

void UninstallServiceWapper::killProcessWithExecutablePath(const std::string& requested, const std::string& name, Reply reply)
{
    auto client = currentClient();
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
    if (!processes_.mayEnd(*process, client->uid(), [&](std::string& reason) { return client->holds(uninstallservice::kRightEndOtherProcesses, reason); }, why)) {
        refuse("to end " + executable + " (pid " + std::to_string(process->pid) + ")", why);
        reply(false);
        return;
    }
    reply(ProcessManager::shared().OnKillProcessInfo(*process));
}

void UninstallServiceWapper::KillProcessWithBundlePath(const std::string& requested, Reply reply)
{
    auto client = currentClient();
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
        if (processes_.mayEnd(*process, client->uid(), [&](std::string& reason) { return client->holds(uninstallservice::kRightEndOtherProcesses, reason); }, why)) {
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
    auto client = currentClient();
    const std::string what = "to move " + requested + " to the Trash";
    const auto real = removablePlace(client, requested, what);
    const auto trash = real ? trashFor(*client, *real, trashName, true, what) : std::nullopt;
    if (!trash) {
        reply(false);
        return;
    }
    reply(moveIntoTrash(*client, *trash, *real, trashName, what));
}

bool UninstallServiceWapper::moveIntoTrash(const Client& client, const ClientTrash& trash, const std::string& real,
                                           const std::string& trashName, const std::string& what)
{
    std::string why;
    const auto identity = ClientTrash::identify(real, why);
    // Entered before it moves: nothing goes into a Trash that the daemon could not put back.
    const TrashLedger::Entry entry{client.uid(), real, trash.folder(), trashName, identity ? identity->device : 0, identity ? identity->inode : 0};
    if (!identity || !ledger_.add(entry, why)) {
        refuse(what, DaemonLog::escaped(why));
        return false;
    }
    if (!trash.moveIn(real, trashName, why)) {
        ledger_.remove(entry);
        refuse(what, DaemonLog::escaped(why));
        return false;
    }
    return true;
}

void UninstallServiceWapper::putBackWithPath(const std::string& requested, const std::string& trashName, Reply reply)
{
    auto client = currentClient();
    const std::string what = "to put " + trashName + " back at " + requested;
    const auto real = removablePlace(client, requested, what);
    const auto trash = real ? trashFor(*client, *real, trashName, false, what) : std::nullopt;
    if (!trash) {
        reply(false);
        return;
    }
    const auto moved = ledger_.find(client->uid(), *real, trash->folder(), trashName);
    if (!moved) {
        refuse(what, "the daemon did not move it there from that place");
        reply(false);
        return;
    }
    std::string why;
    if (!trash->moveBack(trashName, *real, ClientTrash::Identity{moved->device, moved->inode}, why)) {
        refuse(what, DaemonLog::escaped(why));
        reply(false);
        return;
    }
    ledger_.remove(*moved);
    reply(true);
}

std::optional<platform::LaunchJobFile> UninstallServiceWapper::loadableJob(Client& client, const std::string& jobPath,
                                                                          const std::string& real) const
{
    const std::string what = "to load " + jobPath;
    std::string why;
    const std::string folder = path::deletingLastComponent(real);
    bool rootFolder = false;
    for (const char* launchFolder : {"/Library/LaunchDaemons", "/Library/LaunchAgents"}) {
        const std::string spelled = platform::fixedPath(launchFolder);
        rootFolder = rootFolder || folder == platform::SystemLinks::resolveParents(spelled, why).value_or(spelled);
    }
    if (!rootFolder) {
        refuse(what, "not in a root launch folder");
        return std::nullopt;
    }
    auto file = platform::LaunchJobFile::read(real, true, why);
    if (!file) {
        refuse(what, why);
        return std::nullopt;
    }
    if (file->owner != 0) {
        refuse(what, "the job file is not root's");
        return std::nullopt;
    }
    const std::string label = plist::stringValue(file->job, "Label");
    if (!platform::LaunchJobRecord::isValidLabel(label)) {
        refuse(what, "the job's label is not a launchd label");
        return std::nullopt;
    }
    if (label == Utility::kDaemonLabel) {
        refuse(what, "it names the daemon's own job");
        return std::nullopt;
    }
    // A job root loads runs as root: only with the right its removal took.
    if (!client.holds(uninstallservice::kRightRemoveSystemItems, why)) {
        refuse(what, why);
        return std::nullopt;
    }
    return file;
}

void UninstallServiceWapper::loadPlistWithPath(const std::string& jobPath, Reply reply)
{
    auto client = currentClient();
    const auto real = removablePlace(client, jobPath, "to load " + jobPath);
    const auto file = real ? loadableJob(*client, jobPath, *real) : std::nullopt;
    if (!file) {
        reply(false);
        return;
    }
    if (!platform::LaunchJobRecord::runsFrom(*real, *file))
        platform::Subprocess::run({platform::tools::launchctl(), "load", *real}, {1, true, std::chrono::seconds(30)});
    // launchctl says nothing wrong when another file's job holds the label: what counts is the record.
    reply(platform::LaunchJobRecord::runsFrom(*real, *file));
}

void UninstallServiceWapper::authorizeWithRight(const std::string& right, Reply reply)
{
    auto client = currentClient();
    std::string why = "the client cannot be told";
    if (right != uninstallservice::kRightRemoveSystemItems && right != uninstallservice::kRightEndOtherProcesses) {
        refuse("the right " + right, "not a right of this service");
        reply(false);
        return;
    }
    reply(client && client->holds(right, why));
}
