#include "app/removal/RemovalRecord.h"

#include "platform/FileSystem.h"
#include "platform/LaunchJobRecord.h"
#include "platform/PathUtil.h"
#include "platform/ProcessTable.h"
#include "platform/SystemLinks.h"
#include "platform/PropertyList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>

namespace {

constexpr const char* kStates[] = {"planned", "moved", "deleted", "left", "restored"};

std::optional<RemovalRecord::State> stateNamed(const std::string& name)
{
    for (int i = 0; i < 5; ++i)
        if (name == kStates[i])
            return static_cast<RemovalRecord::State>(i);
    return std::nullopt;
}

std::int64_t integerAt(const plist::Dictionary& dict, std::string_view key)
{
    const plist::Value* value = plist::find(dict, key);
    const auto* number = value ? value->get<std::int64_t>() : nullptr;
    return number ? *number : 0;
}

std::string utcText(std::time_t when, const char* format)
{
    std::tm parts{};
    ::gmtime_r(&when, &parts);
    char text[64];
    return std::strftime(text, sizeof text, format, &parts) ? text : "";
}

// Whether launchctl loaded a job from exactly this file (a job file of a launch folder), as the
// daemon judges it before an unload: the record's path with the system's links resolved. A user
// cannot signal root's supervisor, so its process start time, which anyone may read, tells that it
// still runs.
bool isJobFolderFile(const std::string& path)
{
    const std::string folder = platform::path::lastComponent(platform::path::deletingLastComponent(path));
    return (folder == "LaunchAgents" || folder == "LaunchDaemons") && platform::path::extension(path) == "plist";
}

bool isRecordName(const std::string& identifier)
{
    return !identifier.empty() && identifier.find('/') == std::string::npos && identifier != "." && identifier != "..";
}

}  // namespace

const char* RemovalRecord::stateName(State state)
{
    return kStates[static_cast<int>(state)];
}

std::string RemovalRecord::folder()
{
    return platform::path::homeDirectory() + "/Library/Application Support/Ostrova/Removals";
}

bool RemovalRecord::ownFolder(bool make)
{
    std::string why;
    const auto home = platform::SystemLinks::resolveFolder(platform::path::trimTrailingSlashes(platform::path::homeDirectory()), why);
    if (!home)
        return false;
    const uid_t self = ::geteuid();
    const auto own = [&](const std::string& folder) {
        struct stat st {};
        return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == self;
    };
    std::string walked = *home;
    if (!own(walked))
        return false;
    for (const char* part : {"Library", "Application Support", "Ostrova", "Removals"}) {
        walked += "/";
        walked += part;
        if (make && !platform::fs::linkStatus(walked))
            ::mkdir(walked.c_str(), 0700);
        if (!own(walked))
            return false;
    }
    return true;
}

std::string RemovalRecord::path() const
{
    return folder() + "/" + identifier + ".plist";
}

RemovalRecord RemovalRecord::begin(std::vector<std::string> applications)
{
    static std::atomic<int> sequence{0};
    const std::time_t now = std::time(nullptr);
    RemovalRecord record;
    const std::string stem = utcText(now, "%Y%m%d-%H%M%S");
    // Two runs in the same second, in this process or another, get different numbers: a name is
    // taken by creating its file exclusively (the first save replaces it), so a run that has not
    // saved yet still holds its name. Without the records folder the name is only planned.
    const bool folderReady = ownFolder(true);
    for (int n = ++sequence;; n = ++sequence) {
        record.identifier = stem + "-" + std::to_string(n);
        if (!folderReady)
            break;
        const int fd = ::open(record.path().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            break;
        }
        if (errno != EEXIST)
            break;
    }
    record.date = utcText(now, "%Y-%m-%dT%H:%M:%SZ");
    record.applications = std::move(applications);
    return record;
}

std::size_t RemovalRecord::add(const std::string& originalPath, std::int64_t size, const std::string& application,
                               const BundleIdentifier& bundleIdentifier)
{
    Item item;
    item.originalPath = originalPath;
    item.size = size;
    item.application = application;
    item.bundleIdentifier = bundleIdentifier;
    if (const auto st = platform::fs::linkStatus(originalPath)) {
        item.owner = st->st_uid;
        item.group = st->st_gid;
        item.mode = st->st_mode & 07777;
        item.loadedJob = S_ISREG(st->st_mode) && isJobFolderFile(originalPath) && platform::LaunchJobRecord::runsFrom(originalPath);
    }
    items.push_back(std::move(item));
    return items.size() - 1;
}

bool RemovalRecord::save() const
{
    plist::Array names;
    for (const auto& name : applications)
        names.emplace_back(name);
    plist::Array list;
    for (const auto& item : items) {
        plist::Dictionary entry{
            {"OriginalPath", plist::Value(item.originalPath)},
            {"TrashPath", plist::Value(item.trashPath)},
            {"Owner", plist::Value(static_cast<std::int64_t>(item.owner))},
            {"Group", plist::Value(static_cast<std::int64_t>(item.group))},
            {"Mode", plist::Value(static_cast<std::int64_t>(item.mode))},
            {"Size", plist::Value(item.size)},
            {"State", plist::Value(std::string(stateName(item.state)))},
            {"Application", plist::Value(item.application)},
        };
        if (item.loadedJob)
            entry.emplace("LoadedJob", plist::Value(true));
        if (!item.bundleIdentifier.empty())
            entry.emplace("BundleIdentifier", plist::Value(item.bundleIdentifier.spelled()));
        list.emplace_back(std::move(entry));
    }
    const plist::Value root(plist::Dictionary{{"Identifier", plist::Value(identifier)},
                                              {"Date", plist::Value(date)},
                                              {"Applications", plist::Value(std::move(names))},
                                              {"Items", plist::Value(std::move(list))}});
    if (!ownFolder(true))
        return false;
    return platform::fs::writeFileAtomically(path(), plist::serialize(root, plist::Format::Xml));
}

std::optional<RemovalRecord> RemovalRecord::load(const std::string& identifier)
{
    if (!isRecordName(identifier) || !ownFolder(false))
        return std::nullopt;
    const auto root = plist::readDictionary(folder() + "/" + identifier + ".plist");
    if (!root)
        return std::nullopt;
    RemovalRecord record;
    record.identifier = plist::stringValue(*root, "Identifier");
    if (record.identifier != identifier)
        return std::nullopt;
    record.date = plist::stringValue(*root, "Date");
    if (const plist::Value* names = plist::find(*root, "Applications"); names && names->is<plist::Array>())
        for (const auto& name : *names->get<plist::Array>())
            if (const auto* text = name.get<std::string>())
                record.applications.push_back(*text);
    const plist::Value* list = plist::find(*root, "Items");
    if (!list || !list->is<plist::Array>())
        return std::nullopt;
    for (const auto& entry : *list->get<plist::Array>()) {
        const auto* dict = entry.get<plist::Dictionary>();
        if (!dict)
            return std::nullopt;
        Item item;
        item.originalPath = plist::stringValue(*dict, "OriginalPath");
        item.trashPath = plist::stringValue(*dict, "TrashPath");
        item.owner = static_cast<uid_t>(integerAt(*dict, "Owner"));
        item.group = static_cast<gid_t>(integerAt(*dict, "Group"));
        item.mode = static_cast<mode_t>(integerAt(*dict, "Mode"));
        item.size = integerAt(*dict, "Size");
        item.application = plist::stringValue(*dict, "Application");
        item.bundleIdentifier = BundleIdentifier(plist::stringValue(*dict, "BundleIdentifier"));
        if (const plist::Value* loaded = plist::find(*dict, "LoadedJob"))
            item.loadedJob = loaded->get<bool>() && *loaded->get<bool>();
        const auto state = stateNamed(plist::stringValue(*dict, "State"));
        if (!state || item.originalPath.empty())
            return std::nullopt;
        item.state = *state;
        record.items.push_back(std::move(item));
    }
    return record;
}

std::vector<RemovalRecord> RemovalRecord::all()
{
    std::vector<RemovalRecord> records;
    if (!ownFolder(false))
        return records;
    for (const auto& entry : platform::fs::listDirectory(folder()).value_or(std::vector<std::string>{})) {
        if (platform::path::extension(entry) != "plist")
            continue;
        if (auto record = load(entry.substr(0, entry.size() - 6)))
            records.push_back(std::move(*record));
    }
    // Identifiers begin with the time: newest first, and within a second the later number.
    std::sort(records.begin(), records.end(), [](const RemovalRecord& a, const RemovalRecord& b) {
        const auto stem = [](const std::string& id) { return id.substr(0, std::min<std::size_t>(id.size(), 15)); };
        if (stem(a.identifier) != stem(b.identifier))
            return stem(a.identifier) > stem(b.identifier);
        const auto number = [](const std::string& id) { return id.size() > 16 ? std::atol(id.c_str() + 16) : 0L; };
        return number(a.identifier) > number(b.identifier);
    });
    return records;
}

bool RemovalRecord::isStillInTrash(const Item& item) const
{
    return isInTrash(item) && !item.trashPath.empty() && platform::fs::linkStatus(item.trashPath);
}

bool RemovalRecord::isInTrash(const Item& item) const
{
    if (item.state == State::moved)
        return true;
    return item.state == State::planned && !item.trashPath.empty() && platform::fs::linkStatus(item.trashPath) &&
           !platform::fs::linkStatus(item.originalPath);
}

std::size_t RemovalRecord::countInTrash() const
{
    return static_cast<std::size_t>(std::count_if(items.begin(), items.end(), [this](const Item& item) { return isStillInTrash(item); }));
}

std::int64_t RemovalRecord::bytesInTrash() const
{
    std::int64_t bytes = 0;
    for (const auto& item : items)
        if (isStillInTrash(item))
            bytes += item.size;
    return bytes;
}
