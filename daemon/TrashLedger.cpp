#include "daemon/TrashLedger.h"

#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/PropertyList.h"
#include "platform/SafeRemover.h"
#include "platform/SystemLinks.h"
#include "platform/SystemRoot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

using platform::FileDescriptor;
namespace path = platform::path;

namespace {

constexpr std::size_t kMostLedgerBytes = 16u << 20;

std::string fileName(uid_t uid)
{
    return std::to_string(uid) + ".plist";
}

plist::Dictionary toDictionary(const TrashLedger::Entry& entry)
{
    return plist::Dictionary{{"original", entry.original},
                             {"trashFolder", entry.trashFolder},
                             {"trashName", entry.trashName},
                             {"device", static_cast<std::int64_t>(entry.device)},
                             {"inode", static_cast<std::int64_t>(entry.inode)}};
}

std::optional<TrashLedger::Entry> fromDictionary(uid_t uid, const plist::Value& value)
{
    const auto* dict = value.get<plist::Dictionary>();
    if (!dict)
        return std::nullopt;
    const auto* device = plist::find(*dict, "device");
    const auto* inode = plist::find(*dict, "inode");
    if (!device || !inode || !device->get<std::int64_t>() || !inode->get<std::int64_t>())
        return std::nullopt;
    TrashLedger::Entry entry;
    entry.uid = uid;
    entry.original = plist::stringValue(*dict, "original");
    entry.trashFolder = plist::stringValue(*dict, "trashFolder");
    entry.trashName = plist::stringValue(*dict, "trashName");
    entry.device = static_cast<std::uint64_t>(*device->get<std::int64_t>());
    entry.inode = static_cast<std::uint64_t>(*inode->get<std::int64_t>());
    return entry;
}

bool sameItem(const TrashLedger::Entry& a, const TrashLedger::Entry& b)
{
    return a.uid == b.uid && a.original == b.original && a.trashFolder == b.trashFolder && a.trashName == b.trashName;
}

bool sameEntry(const TrashLedger::Entry& a, const TrashLedger::Entry& b)
{
    return sameItem(a, b) && a.device == b.device && a.inode == b.inode;
}

// The client's entries, oldest first; empty when there is no ledger yet.
std::vector<TrashLedger::Entry> readEntries(int folder, uid_t uid)
{
    std::vector<TrashLedger::Entry> entries;
    FileDescriptor fd(::openat(folder, fileName(uid).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != 0 ||
        static_cast<std::size_t>(st.st_size) > kMostLedgerBytes)
        return entries;
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    const auto value = plist::parse(bytes);
    const auto* list = value ? value->get<plist::Array>() : nullptr;
    if (!list)
        return entries;
    for (const auto& element : *list)
        if (auto entry = fromDictionary(uid, element))
            entries.push_back(std::move(*entry));
    return entries;
}

bool writeEntries(int folder, uid_t uid, const std::vector<TrashLedger::Entry>& entries, std::string& why)
{
    plist::Array list;
    const std::size_t first = entries.size() > TrashLedger::kMostEntries ? entries.size() - TrashLedger::kMostEntries : 0;
    for (std::size_t i = first; i < entries.size(); ++i)
        list.emplace_back(toDictionary(entries[i]));
    const std::string bytes = plist::serialize(plist::Value(std::move(list)), plist::Format::Binary);
    const std::string temporary = fileName(uid) + ".new";
    ::unlinkat(folder, temporary.c_str(), 0);
    FileDescriptor fd(::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        why = "the ledger cannot be written";
        return false;
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (put <= 0) {
            why = "the ledger cannot be written";
            ::unlinkat(folder, temporary.c_str(), 0);
            return false;
        }
        written += static_cast<std::size_t>(put);
    }
    if (::fsync(fd.get()) != 0 || ::renameat(folder, temporary.c_str(), folder, fileName(uid).c_str()) != 0) {
        why = "the ledger cannot be written";
        ::unlinkat(folder, temporary.c_str(), 0);
        return false;
    }
    return true;
}

}  // namespace

TrashLedger& TrashLedger::shared()
{
    static TrashLedger ledger(platform::fixedPath("/private/var/db/com.halvane.ostrova"));
    return ledger;
}

TrashLedger::TrashLedger(std::string folder) : folder_(std::move(folder)) {}

int TrashLedger::openFolder(std::string& why) const
{
    const auto real = platform::SystemLinks::resolveParents(folder_, why);
    if (!real)
        return -1;
    platform::fs::makeDirectories(path::deletingLastComponent(*real), 0755);
    ::mkdir(real->c_str(), 0700);
    FileDescriptor fd(platform::SafeRemover::openFolderNoFollow(*real));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != 0 || (st.st_mode & 077) != 0) {
        why = "the ledger's folder " + *real + " is not root's alone";
        return -1;
    }
    return fd.release();
}

bool TrashLedger::add(const Entry& entry, std::string& why)
{
    std::lock_guard lock(mutex_);
    FileDescriptor folder(openFolder(why));
    if (folder.get() < 0)
        return false;
    auto entries = readEntries(folder.get(), entry.uid);
    std::erase_if(entries, [&](const Entry& other) { return sameEntry(other, entry); });
    entries.push_back(entry);
    return writeEntries(folder.get(), entry.uid, entries, why);
}

std::optional<TrashLedger::Entry> TrashLedger::find(uid_t uid, const std::string& original, const std::string& trashFolder,
                                                    const std::string& trashName)
{
    std::lock_guard lock(mutex_);
    std::string why;
    FileDescriptor folder(openFolder(why));
    if (folder.get() < 0)
        return std::nullopt;
    const Entry wanted{uid, original, trashFolder, trashName, 0, 0};
    const auto entries = readEntries(folder.get(), uid);
    // The newest: an older one of the same place and name was followed by a move that failed.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (sameItem(*it, wanted))
            return *it;
    return std::nullopt;
}

void TrashLedger::remove(const Entry& entry)
{
    std::lock_guard lock(mutex_);
    std::string why;
    FileDescriptor folder(openFolder(why));
    if (folder.get() < 0)
        return;
    auto entries = readEntries(folder.get(), entry.uid);
    const auto before = entries.size();
    std::erase_if(entries, [&](const Entry& other) { return sameEntry(other, entry); });
    if (entries.size() != before)
        writeEntries(folder.get(), entry.uid, entries, why);
}
