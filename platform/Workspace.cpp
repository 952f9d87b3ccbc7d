#include "platform/Workspace.h"

#include "platform/Bundle.h"
#include "platform/BundleIdentifier.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SystemCalls.h"
#include "platform/SystemRoot.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {
namespace {
constexpr std::array<std::string_view, 26> kPackageExtensions = {
    "app",       "bundle",  "framework", "plugin",    "kext",   "appex",     "xpc",
    "prefpane",  "qlgenerator", "mdimporter", "saver", "wdgt",  "component", "vst",
    "vst3",      "mpkg",    "pkg",       "rtfd",      "photoslibrary", "musiclibrary", "imovielibrary",
    "systemextension", "driver", "ideplugin", "docset", "playground"};

// The icon of an iPhone or iPad application: the files its primary icons name (CFBundleIcons, the
// iPad's, then CFBundleIconFiles), the last named (the largest) and the highest scale first.
std::optional<std::string> mobileIconFile(const Bundle& bundle, const plist::Dictionary& info)
{
    std::vector<std::string> names;
    const auto addFiles = [&](const plist::Dictionary& dict) {
        const plist::Value* files = plist::find(dict, "CFBundleIconFiles");
        const auto* list = files ? files->get<plist::Array>() : nullptr;
        if (!list)
            return;
        for (auto it = list->rbegin(); it != list->rend(); ++it)
            if (const auto* name = it->get<std::string>(); name && !name->empty())
                names.push_back(*name);
    };
    for (const char* key : {"CFBundleIcons", "CFBundleIcons~ipad"}) {
        const plist::Value* icons = plist::find(info, key);
        const auto* iconsDict = icons ? icons->get<plist::Dictionary>() : nullptr;
        const plist::Value* primary = iconsDict ? plist::find(*iconsDict, "CFBundlePrimaryIcon") : nullptr;
        if (const auto* primaryDict = primary ? primary->get<plist::Dictionary>() : nullptr)
            addFiles(*primaryDict);
    }
    addFiles(info);
    for (const auto& name : names)
        for (const char* tail : {"@3x.png", "@2x.png", "@2x~ipad.png", ".png", "~ipad.png", ""})
            if (auto file = bundle.pathForResource(name + tail, ""))
                return file;
    return std::nullopt;
}
}  // namespace

bool Workspace::isPackageExtension(const std::string& extension)
{
    const std::string lower = path::toLower(extension);
    for (const auto candidate : kPackageExtensions) {
        if (lower == candidate)
            return true;
    }
    return false;
}

bool Workspace::isFilePackageAtPath(const std::string& path)
{
    return isPackageExtension(path::extension(path)) && fs::isDirectory(path);
}

FileIcon Workspace::iconForFile(const std::string& path)
{
    const auto st = fs::status(path);
    if (!st)
        return {"", "unknown"};
    if (!S_ISDIR(st->st_mode))
        return {"", "text-x-generic"};
    if (!isFilePackageAtPath(path))
        return {"", "folder"};
    if (const auto bundle = Bundle::atPath(path)) {
        const auto info = bundle->infoDictionary();
        std::string iconName = plist::stringValue(info, "CFBundleIconFile");
        if (iconName.empty())
            iconName = plist::stringValue(info, "CFBundleIconName");
        if (!iconName.empty()) {
            const bool hasExtension = !path::extension(iconName).empty();
            const auto file = hasExtension ? bundle->pathForResource(iconName, "")
                                           : bundle->pathForResource(iconName, "icns");
            if (file)
                return {*file, ""};
        }
        if (const auto file = mobileIconFile(*bundle, info))
            return {*file, ""};
    }
    return {"", path::toLower(path::extension(path)) == "app" ? "application-x-executable" : "package-x-generic"};
}

namespace {

// How far below an application folder bundles are looked for ("/Applications/Utilities/X.app").
constexpr int kApplicationFolderDepth = 3;

std::string findApplication(const std::string& folder, const std::string& wanted, int depth)
{
    auto entries = fs::listDirectory(folder);
    if (!entries)
        return "";
    std::sort(entries->begin(), entries->end());
    for (const auto& entry : *entries) {
        const std::string candidate = path::appending(folder, entry);
        if (path::toLower(path::extension(entry)) == "app") {
            const auto bundle = Bundle::atPath(candidate);
            const auto identifier = bundle ? bundle->bundleIdentifier() : std::nullopt;
            if (identifier && BundleIdentifier::same(*identifier, wanted))
                return candidate;
            continue;
        }
        if (depth < kApplicationFolderDepth && fs::isDirectoryNoFollow(candidate) && !Workspace::isFilePackageAtPath(candidate)) {
            if (auto found = findApplication(candidate, wanted, depth + 1); !found.empty())
                return found;
        }
    }
    return "";
}

// Double fork: the program's own parent ends at once, so the program is adopted by init and never
// lingers as our zombie. A close-on-exec pipe stays silent exactly when execv succeeded.
bool startDetached(const std::string& executable, const std::vector<std::string>& arguments)
{
    int report[2];
    if (sys::calls().pipe(report) != 0)
        return false;
    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    std::vector<std::string> words = {executable};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t intermediate = ::fork();
    if (intermediate == 0) {
        ::setsid();
        if (::fork() == 0) {
            sigset_t none;
            ::sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            if (devNull >= 0)
                ::dup2(devNull, STDIN_FILENO);
            ::execv(argv[0], argv.data());
            const int error = errno;
            [[maybe_unused]] const auto written = ::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    if (devNull >= 0)
        ::close(devNull);
    if (intermediate < 0) {
        ::close(report[0]);
        return false;
    }
    while (::waitpid(intermediate, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    return got == 0;
}

}  // namespace

std::string Workspace::urlForApplicationWithBundleIdentifier(const std::string& bundleIdentifier)
{
    if (bundleIdentifier.empty())
        return "";
    const std::string& wanted = bundleIdentifier;
    for (const auto& folder : {fixedPath("/Applications"), path::expandTilde("~/Applications")}) {
        if (auto found = findApplication(folder, wanted, 0); !found.empty())
            return found;
    }
    return "";
}

bool Workspace::openApplication(const std::string& bundlePath, const std::vector<std::string>& arguments)
{
    const auto bundle = Bundle::atPath(bundlePath);
    if (!bundle)
        return false;
    const std::string name = plist::stringValue(bundle->infoDictionary(), "CFBundleExecutable");
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return false;
    const std::string executable = fs::resolveCaseInsensitive(bundle->contentsPath(), "MacOS/" + name);
    const auto st = fs::status(executable);
    if (!st || !S_ISREG(st->st_mode) || ::access(executable.c_str(), X_OK) != 0)
        return false;
    return startDetached(executable, arguments);
}

}  // namespace platform
