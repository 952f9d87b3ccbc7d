#include "app/scanner/BundleWalk.h"

#include "app/locations/SearchFilePath.h"
#include "app/scanner/StopToken.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"

#include <dirent.h>
#include <sys/stat.h>

#include <deque>
#include <optional>
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

std::vector<BundleWalk::Root> BundleWalk::defaultRoots()
{
    const std::string home = SearchFilePath::realHomeDirectory();
    std::vector<Root> roots;
    // The application folders outside the home: /Applications and the volumes'.
    for (const auto& folder : SearchFilePath::applicationFolders())
        if (home.empty() || !platform::path::isInside(folder, home))
            roots.push_back({folder});
    for (const auto& folder : SearchFilePath::plugInFolders())
        roots.push_back({folder, kDepth, true});
    roots.push_back({platform::fixedPath("/Users/Shared")});
    roots.push_back({platform::fixedPath("/Library/Application Support"), 4});
    if (!home.empty())
        roots.push_back({home});
    return roots;
}

void BundleWalk::addInnerApplications(const std::string& bundle, std::vector<std::string>& found)
{
    const auto top = platform::fs::listDirectory(bundle);
    if (!top)
        return;
    std::vector<std::string> folders;
    if (const std::string wrapper = entryNamed(*top, "wrapper"); !wrapper.empty())
        folders.push_back(bundle + "/" + wrapper);
    const std::string contentsName = entryNamed(*top, "contents");
    const std::string contents = bundle + "/" + contentsName;
    const auto inside = contentsName.empty() ? std::nullopt : platform::fs::listDirectory(contents);
    for (const char* name : {"macos", "helpers", "applications"})
        if (const std::string entry = inside ? entryNamed(*inside, name) : ""; !entry.empty())
            folders.push_back(contents + "/" + entry);
    if (const std::string library = inside ? entryNamed(*inside, "library") : ""; !library.empty()) {
        const auto libraryEntries = platform::fs::listDirectory(contents + "/" + library);
        if (const std::string loginItems = libraryEntries ? entryNamed(*libraryEntries, "loginitems") : ""; !loginItems.empty())
            folders.push_back(contents + "/" + library + "/" + loginItems);
    }
    for (const auto& folder : folders)
        for (const auto& entry : platform::fs::listDirectory(folder).value_or(std::vector<std::string>{}))
            if (isApplicationName(entry))
                found.push_back(folder + "/" + entry);
}

BundleWalk::Found BundleWalk::bundlesUnder(const std::vector<Root>& roots, std::chrono::steady_clock::time_point deadline,
                                           const StopToken* stop)
{
    Found result;
    std::vector<std::string>& found = result.bundles;
    const std::string trash = platform::path::homeDirectory() + "/.Trash";
    for (const auto& root : roots) {
        struct stat top {};
        if (::lstat(root.path.c_str(), &top) != 0 || !S_ISDIR(top.st_mode))
            continue;
        std::deque<std::pair<std::string, int>> queue = {{root.path, 0}};
        while (!queue.empty()) {
            if (std::chrono::steady_clock::now() > deadline || (stop && !stop->keepGoing())) {
                result.complete = false;
                return result;
            }
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
                    continue;
                }
                if (level == 0 && root.plugIns)
                    found.push_back(path);
                if (level + 1 < root.depth)
                    queue.emplace_back(path, level + 1);
            }
            ::closedir(dir);
        }
    }
    return result;
}
