#include "platform/LoginItem.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <cerrno>
#include <unistd.h>

// Login items as XDG autostart entries.
namespace platform {

std::string LoginItem::entryPath(const std::string& bundleIdentifier)
{
    return path::appending(path::appending(path::configHome(), "autostart"), bundleIdentifier + ".desktop");
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

bool LoginItem::isEnabled(const std::string& bundleIdentifier)
{
    return fs::exists(entryPath(bundleIdentifier));
}

bool LoginItem::writeEntry(const std::string& bundleIdentifier, const std::string& name, const std::string& program)
{
    const std::string entry = entryPath(bundleIdentifier);
    std::string contents = "[Desktop Entry]\nType=Application\nName=";
    contents.append(name);
    contents.append("\nExec=").append(quoteExecArgument(program));
    contents.append("\nX-GNOME-Autostart-enabled=true\nNoDisplay=true\n");
    if (!fs::makeDirectories(path::deletingLastComponent(entry)))
        return false;
    return fs::writeFileAtomically(entry, contents);
}

bool LoginItem::removeEntry(const std::string& bundleIdentifier)
{
    const std::string entry = entryPath(bundleIdentifier);
    return ::unlink(entry.c_str()) == 0 || errno == ENOENT;
}

}  // namespace platform
