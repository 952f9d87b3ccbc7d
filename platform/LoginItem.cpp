#include "platform/LoginItem.h"

#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

std::string LoginItem::entryPath(const std::string& bundleIdentifier)
{
    return path::appending(path::appending(path::configHome(), "autostart"), bundleIdentifier + ".desktop");
}

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

std::string LoginItem::quoteExecArgument(const std::string& argument)
{
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted.append("\\\\").push_back(c);
        else if (c == '%')
            quoted.append("%%");
        else
            quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

bool LoginItem::setEnabled(const std::string& bundleIdentifier, bool enabled)
{
    const auto main = Bundle::mainBundle();
    return setEnabled(bundleIdentifier, enabled, main ? main->bundlePath() : "");
}

bool LoginItem::setEnabled(const std::string& bundleIdentifier, bool enabled, const std::string& mainBundlePath)
{
    const std::string entry = entryPath(bundleIdentifier);
    if (!enabled)
        return ::unlink(entry.c_str()) == 0 || errno == ENOENT;

    const std::string helperPath = helperBundlePath(bundleIdentifier, mainBundlePath);
    const auto helper = Bundle::atPath(helperPath);
    if (helperPath.empty() || !helper)
        return false;
    const std::string executable = plist::stringValue(helper->infoDictionary(), "CFBundleExecutable");
    if (executable.empty())
        return false;
    const std::string program = fs::resolveCaseInsensitive(helperPath, "Contents/MacOS/" + executable);

    std::string contents = "[Desktop Entry]\nType=Application\nName=";
    contents.append(plist::stringValue(helper->infoDictionary(), "CFBundleName").empty()
                        ? executable
                        : plist::stringValue(helper->infoDictionary(), "CFBundleName"));
    contents.append("\nExec=").append(quoteExecArgument(program));
    contents.append("\nX-GNOME-Autostart-enabled=true\nNoDisplay=true\n");
    if (!fs::makeDirectories(path::deletingLastComponent(entry)))
        return false;
    return fs::writeFileAtomically(entry, contents);
}

bool LoginItem::isEnabled(const std::string& bundleIdentifier)
{
    return fs::exists(entryPath(bundleIdentifier));
}

}  // namespace platform
