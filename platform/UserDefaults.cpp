#include "platform/UserDefaults.h"

#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <type_traits>
#include <mutex>

namespace platform {
namespace {

std::mutex defaultsMutex;

std::string& standardDomainOverride()
{
    static std::string domain;
    return domain;
}

class FileLock {
public:
    explicit FileLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        if (fd_ >= 0)
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {}
    }
    ~FileLock()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};

}  // namespace

UserDefaults::UserDefaults(std::string domain) : domain_(std::move(domain)) {}

UserDefaults UserDefaults::standard()
{
    {
        std::lock_guard lock(defaultsMutex);
        if (!standardDomainOverride().empty())
            return UserDefaults(standardDomainOverride());
    }
    if (const auto bundle = Bundle::mainBundle()) {
        if (auto identifier = bundle->bundleIdentifier())
            return UserDefaults(*identifier);
    }
    return UserDefaults(path::lastComponent(Bundle::executablePath()));
}

void UserDefaults::setStandardDomain(const std::string& domain)
{
    std::lock_guard lock(defaultsMutex);
    standardDomainOverride() = domain;
}

std::string UserDefaults::filePath() const
{
    return path::appending(path::configHome(), domain_ + ".plist");
}

std::optional<plist::Value> UserDefaults::objectForKey(const std::string& key) const
{
    std::lock_guard lock(defaultsMutex);
    const auto dict = plist::readDictionary(filePath());
    if (!dict)
        return std::nullopt;
    if (const auto* value = plist::find(*dict, key))
        return *value;
    return std::nullopt;
}

template <typename Change>
bool UserDefaults::update(Change change, bool replacesUnreadable)
{
    if (domain_.empty() || domain_.find('/') != std::string::npos)
        return false;
    std::lock_guard lock(defaultsMutex);
    const std::string file = filePath();
    if (!fs::makeDirectories(path::deletingLastComponent(file), 0700))
        return false;
    FileLock fileLock(file + ".lock");
    auto read = plist::readDictionary(file);
    if (!read && !replacesUnreadable && fs::linkStatus(file))
        return false;
    plist::Dictionary dict = std::move(read).value_or(plist::Dictionary{});
    if constexpr (std::is_same_v<decltype(change(dict)), bool>) {
        if (!change(dict))
            return false;
    } else {
        change(dict);
    }
    return plist::writeFile(file, plist::Value(std::move(dict)), plist::Format::Xml);
}

bool UserDefaults::setObject(const std::string& key, const plist::Value& value)
{
    return update([&](plist::Dictionary& dict) { dict.insert_or_assign(key, value); });
}

bool UserDefaults::removeObject(const std::string& key)
{
    return update([&](plist::Dictionary& dict) { dict.erase(key); });
}

bool UserDefaults::modifyObject(const std::string& key, const std::function<bool(std::optional<plist::Value>&)>& change)
{
    return update(
        [&](plist::Dictionary& dict) {
            std::optional<plist::Value> value;
            if (const auto* found = plist::find(dict, key))
                value = *found;
            if (!change(value))
                return false;
            if (value)
                dict.insert_or_assign(key, std::move(*value));
            else
                dict.erase(key);
            return true;
        },
        false);
}

}  // namespace platform
