#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The file-manager operations the core needs, over POSIX. Nothing here throws; failures come back as
// false, nullopt or an empty result.
namespace platform::fs {

// Status without following a final symbolic link (lstat).
std::optional<struct stat> linkStatus(const std::string& path);
// Status following links (stat).
std::optional<struct stat> status(const std::string& path);

// Like fileExistsAtPath: follows a final link, so a dangling link does not exist.
bool exists(const std::string& path);
bool isDirectory(const std::string& path);           // follows links
bool isDirectoryNoFollow(const std::string& path);   // lstat's directory bit
bool isSymbolicLink(const std::string& path);
std::optional<std::string> readLink(const std::string& path);

// Entry names of a folder ("." and ".." left out), in the order the file system gives them.
// A link to a folder is listed as that folder. nullopt when the folder cannot be listed.
std::optional<std::vector<std::string>> listDirectory(const std::string& path);

// Why readRegularFileAt gave nothing.
enum class ReadRefusal { none, cannotOpen, link, notRegular, tooLarge, readFailed };

// The bytes of a regular file, read without waiting: opened non-blocking (a named pipe or a device
// never stalls the reader) and accepted only when what was opened is a regular file (fstat) of at
// most maxBytes; reading stops past maxBytes even when the file grows meanwhile. Without
// `followLink` a link at the last component is refused. `name` is relative to `folder` (AT_FDCWD:
// a path). `status` gets the fstat of the file whose bytes were read, `refusal` why none came back.
std::optional<std::string> readRegularFileAt(int folder, const std::string& name, std::size_t maxBytes, bool followLink,
                                             struct stat* status = nullptr, ReadRefusal* refusal = nullptr);
// A file that others may have put in place (a bundle's Info.plist, a job file, another
// application's preferences): readRegularFileAt, never through a link at its last component.
std::optional<std::string> readSmallRegularFile(const std::string& path, std::size_t maxBytes);
// The whole file, or nullopt when it cannot be read or is larger than maxBytes: readRegularFileAt
// following links, for the program's own files and the system's (/proc's report no size).
std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes = 64u << 20);
// Creates the folder and every missing folder above it; true when it is a folder afterwards.
bool makeDirectories(const std::string& path, mode_t mode = 0755);
// Writes through a temporary file in the same folder and renames it over the target.
bool writeFileAtomically(const std::string& path, const std::string& contents);

// The entry of `folder` whose name equals `name` ignoring ASCII letter case: the exact name when it
// exists, otherwise the first case-insensitive match as spelt on disk. nullopt when none.
std::optional<std::string> findEntryIgnoringCase(const std::string& folder, const std::string& name);
// Resolves each component below `base` case-insensitively, as a Mac volume would. Components that
// exist with other letter case are replaced by their spelling on disk; the rest are kept.
std::string resolveCaseInsensitive(const std::string& base, const std::string& relative);

}  // namespace platform::fs
