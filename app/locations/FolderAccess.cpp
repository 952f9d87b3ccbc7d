#include "app/locations/FolderAccess.h"

#include "platform/Bookmark.h"
#include "platform/Localization.h"
#include "platform/Sandbox.h"
#include "platform/UserDefaults.h"
#include "system/Utility.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex runnerMutex;
OpenPanelRunner& installedRunner()
{
    static OpenPanelRunner runner;
    return runner;
}

bool runWithStoredGrant(const std::string& folder, const std::function<void(bool)>& work)
{
    const bool scoped = Utility::isSandboxed();
    const auto stored = platform::UserDefaults::standard().objectForKey(folderGrantKey(folder));
    const auto* data = stored ? stored->get<plist::Data>() : nullptr;
    if (!data)
        return false;
    const auto resolved = platform::Bookmark::resolve(*data, scoped);
    if (!resolved || resolved->isStale || !resolved->securityScoped)
        return false;
    if (!platform::Sandbox::startAccessingSecurityScopedResource(resolved->path))
        return false;
    work(true);
    platform::Sandbox::stopAccessingSecurityScopedResource(resolved->path);
    return true;
}

void finishWithPanelResult(const OpenPanelResponse& answer, bool useBookmark, const std::function<void(bool)>& work)
{
    if (answer.response != 1 || answer.urls.empty()) {
        work(false);
        return;
    }
    const std::string& chosen = answer.urls.front();
    platform::Sandbox::grantForProcess(chosen);
    auto defaults = platform::UserDefaults::standard();
    const std::string key = folderGrantKey(chosen);
    if (!useBookmark) {
        defaults.removeObject(key);
    } else if (auto data = platform::Bookmark::create(chosen, Utility::isSandboxed())) {
        defaults.setObject(key, plist::Value(std::move(*data)));
    } else {
        std::printf("生成书签失败: %s\n", ("cannot make a bookmark of " + chosen).c_str());
        std::fflush(stdout);
    }
    work(true);
}

}  // namespace

void setOpenPanelRunner(OpenPanelRunner runner)
{
    std::lock_guard lock(runnerMutex);
    installedRunner() = std::move(runner);
}

std::string folderGrantKey(const std::string& folder)
{
    const auto reference = platform::Bookmark::fileReferenceURL(folder);
    return "bc_" + (reference ? *reference : std::string("unknown"));
}

void withFolderAccess(const std::string& folder, bool useBookmark, bool silent,
                      const OpenPanelPresenter& presenter, const std::function<void(bool)>& work)
{
    if (!Utility::isSandboxed() || platform::Sandbox::isReadableAndWritable(folder)) {
        work(true);
        return;
    }
    if (useBookmark && runWithStoredGrant(folder, work))
        return;
    if (silent) {
        work(false);
        return;
    }

    OpenPanelRequest request;
    request.directory = folder;
    request.prompt = platform::localized("FolderAccess", OSTROVA_TRANSLATE_NOOP("FolderAccess", "Allow access to this path"));
    if (presenter) {
        presenter(request, [useBookmark, work](OpenPanelResponse answer) {
            finishWithPanelResult(answer, useBookmark, work);
        });
        return;
    }
    OpenPanelRunner runner;
    {
        std::lock_guard lock(runnerMutex);
        runner = installedRunner();
    }
    finishWithPanelResult(runner ? runner(request) : OpenPanelResponse{}, useBookmark, work);
}
