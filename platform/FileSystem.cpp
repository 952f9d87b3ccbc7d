#include "platform/FileSystem.h"

#include "platform/PathUtil.h"
#include "platform/Statistics.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace platform::fs {

std::optional<struct stat> linkStatus(const std::string& path)
{
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st;
}

std::optional<struct stat> status(const std::string& path)
{
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st;
}

bool exists(const std::string& path)
{
    return status(path).has_value();
}

bool isDirectory(const std::string& path)
{
    const auto st = status(path);
    return st && S_ISDIR(st->st_mode);
}

bool isDirectoryNoFollow(const std::string& path)
{
    const auto st = linkStatus(path);
    return st && S_ISDIR(st->st_mode);
}

bool isSymbolicLink(const std::string& path)
{
    const auto st = linkStatus(path);
    return st && S_ISLNK(st->st_mode);
}

std::optional<std::string> readLink(const std::string& path)
{
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(n));
            return buffer;
        }
        if (buffer.size() >= (1u << 16))
            return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::vector<std::string>> listDirectory(const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
    if (!dir)
        return std::nullopt;
    statistics::directoryListings.fetch_add(1, std::memory_order_relaxed);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        names.emplace_back(entry->d_name);
    }
    return names;
}

std::optional<std::string> readRegularFileAt(int folder, const std::string& name, std::size_t maxBytes, bool followLink,
                                             struct stat* status, ReadRefusal* refusal)
{
    const auto refuse = [&](ReadRefusal why) -> std::optional<std::string> {
        if (refusal)
            *refusal = why;
        return std::nullopt;
    };
    if (name.empty())
        return refuse(ReadRefusal::cannotOpen);
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    const int fd = ::openat(folder, name.c_str(), flags);
    if (fd < 0)
        return refuse(errno == ELOOP && !followLink ? ReadRefusal::link : ReadRefusal::cannotOpen);
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return refuse(ReadRefusal::notRegular);
    if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return refuse(ReadRefusal::tooLarge);
    std::string data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return refuse(ReadRefusal::readFailed);
        if (n == 0)
            break;
        data.append(chunk, static_cast<std::size_t>(n));
        if (data.size() > maxBytes)
            return refuse(ReadRefusal::tooLarge);
    }
    if (status)
        *status = st;
    if (refusal)
        *refusal = ReadRefusal::none;
    return data;
}

std::optional<std::string> readSmallRegularFile(const std::string& path, std::size_t maxBytes)
{
    return readRegularFileAt(AT_FDCWD, path, maxBytes, false);
}

std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes)
{
    return readRegularFileAt(AT_FDCWD, path, maxBytes, true);
}

bool makeDirectories(const std::string& path, mode_t mode)
{
    std::string current;
    for (const auto& part : path::components(path)) {
        current = current.empty() ? part : path::appending(current, part);
        if (::mkdir(current.c_str(), mode) != 0 && errno != EEXIST)
            return false;
    }
    return isDirectory(path);
}

bool writeFileAtomically(const std::string& path, const std::string& contents)
{
    const std::string temp = path + ".tmp." + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

std::optional<std::string> findEntryIgnoringCase(const std::string& folder, const std::string& name)
{
    if (linkStatus(path::appending(folder, name)))
        return name;
    const auto entries = listDirectory(folder);
    if (!entries)
        return std::nullopt;
    const std::string wanted = path::toLower(name);
    for (const auto& entry : *entries) {
        if (path::toLower(entry) == wanted)
            return entry;
    }
    return std::nullopt;
}

std::string resolveCaseInsensitive(const std::string& base, const std::string& relative)
{
    std::string current = base;
    for (const auto& part : path::components(relative)) {
        if (part == "/")
            continue;
        const auto found = findEntryIgnoringCase(current, part);
        current = path::appending(current, found ? *found : part);
    }
    return current;
}

}  // namespace platform::fs
