#include "platform/LoginItem.h"

#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

namespace platform {

std::string LoginItem::helperBundlePath(const std::string& bundleIdentifier, const std::string& mainBundlePath)
{
    const auto main = Bundle::atPath(mainBundlePath);
    if (!main || bundleIdentifier.empty())
        return "";
    const std::string folder = path::appending(main->contentsPath(), "Library/LoginItems");
    const auto entries = fs::listDirectory(folder);
    if (!entries)
        return "";
    for (const auto& entry : *entries) {
        const std::string candidate = path::appending(folder, entry);
        const auto helper = Bundle::atPath(candidate);
        if (helper && helper->bundleIdentifier() == bundleIdentifier)
            return candidate;
    }
    return "";
}

bool LoginItem::setEnabled(const std::string& bundleIdentifier, bool enabled)
{
    const auto main = Bundle::mainBundle();
    return setEnabled(bundleIdentifier, enabled, main ? main->bundlePath() : "");
}

bool LoginItem::setEnabled(const std::string& bundleIdentifier, bool enabled, const std::string& mainBundlePath)
{
    if (!enabled)
        return removeEntry(bundleIdentifier);

    const std::string helperPath = helperBundlePath(bundleIdentifier, mainBundlePath);
    const auto helper = Bundle::atPath(helperPath);
    if (helperPath.empty() || !helper)
        return false;
    const std::string executable = plist::stringValue(helper->infoDictionary(), "CFBundleExecutable");
    if (executable.empty())
        return false;
    const std::string program = fs::resolveCaseInsensitive(helperPath, "Contents/MacOS/" + executable);

    const std::string name = plist::stringValue(helper->infoDictionary(), "CFBundleName");
    return writeEntry(bundleIdentifier, name.empty() ? executable : name, program);
}

}  // namespace platform
