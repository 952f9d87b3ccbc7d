#include "app/scanner/BundleWalk.h"

#include "app/locations/SearchFilePath.h"
#include "app/scanner/StopToken.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"

#include <dirent.h>
#include <sys/stat.h>

#include <deque>
#include <utility>

namespace {

bool isApplicationName(const std::string& name)
{
    return platform::path::toLower(platform::path::extension(name)) == "app";
}

// The entry of `entries` named `name` in any letter case (a Mac volume ignores it); "" when none.
std::string entryNamed(const std::vector<std::string>& entries, const std::string& name)
{
    for (const auto& entry : entries)
        if (platform::path::toLower(entry) == name)
            return entry;
    return {};
}

}  // namespace

std::vector<std::string> BundleWalk::defaultRoots()
{
    return {SearchFilePath::realHomeDirectory(), platform::fixedPath("/Applications"), platform::fixedPath("/Users/Shared")};
}

void BundleWalk::addInnerApplications(const std::string& bundle, std::vector<std::string>& found)
{
    const auto top = platform::fs::listDirectory(bundle);
    const std::string contentsName = top ? entryNamed(*top, "contents") : "";
    if (contentsName.empty())
        return;
    const std::string contents = bundle + "/" + contentsName;
    const auto inside = platform::fs::listDirectory(contents);
    if (!inside)
        return;
    std::vector<std::string> folders;
    for (const char* name : {"macos", "helpers", "applications"})
        if (const std::string entry = entryNamed(*inside, name); !entry.empty())
            folders.push_back(contents + "/" + entry);
    if (const std::string library = entryNamed(*inside, "library"); !library.empty()) {
        const auto libraryEntries = platform::fs::listDirectory(contents + "/" + library);
        if (const std::string loginItems = libraryEntries ? entryNamed(*libraryEntries, "loginitems") : ""; !loginItems.empty())
            folders.push_back(contents + "/" + library + "/" + loginItems);
    }
    for (const auto& folder : folders)
        for (const auto& entry : platform::fs::listDirectory(folder).value_or(std::vector<std::string>{}))
            if (isApplicationName(entry))
                found.push_back(folder + "/" + entry);
}

std::vector<std::string> BundleWalk::bundlesUnder(const std::vector<std::string>& roots, int depth,
                                                  std::chrono::steady_clock::time_point deadline, const StopToken* stop)
{
    std::vector<std::string> found;
    const std::string trash = platform::path::homeDirectory() + "/.Trash";
    for (const auto& root : roots) {
        struct stat top {};
        if (::lstat(root.c_str(), &top) != 0 || !S_ISDIR(top.st_mode))
            continue;
        std::deque<std::pair<std::string, int>> queue = {{root, 0}};
        while (!queue.empty()) {
            if (std::chrono::steady_clock::now() > deadline || (stop && !stop->keepGoing()))
                return found;
            auto [folder, level] = std::move(queue.front());
            queue.pop_front();
            DIR* dir = ::opendir(folder.c_str());
            if (!dir)
                continue;
            // One look at the folder itself keeps the walk on the volume it began on.
            struct stat here {};
            if (::fstat(::dirfd(dir), &here) != 0 || here.st_dev != top.st_dev) {
                ::closedir(dir);
                continue;
            }
            while (const dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name == "." || name == "..")
                    continue;
                const std::string path = folder + "/" + name;
                bool directory = entry->d_type == DT_DIR;
                if (entry->d_type == DT_UNKNOWN) {
                    struct stat st {};
                    directory = ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
                }
                if (!directory || path == trash)
                    continue;
                if (isApplicationName(name)) {
                    found.push_back(path);
                    addInnerApplications(path, found);
                } else if (level + 1 < depth) {
                    queue.emplace_back(path, level + 1);
                }
            }
            ::closedir(dir);
        }
    }
    return found;
}
