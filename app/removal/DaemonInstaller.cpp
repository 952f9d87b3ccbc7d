#include "app/removal/DaemonInstaller.h"

#include "app/locations/FolderAccess.h"
#include "app/removal/AdministratorScript.h"
#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/PropertyList.h"
#include "platform/SystemRoot.h"
#include "platform/SystemTools.h"
#include "system/ShellQuote.h"
#include "system/Utility.h"
#include "xpc/UninstallServiceprotocol.h"
#include "xpc/XPCRemoteObject.h"

#include <sys/stat.h>

#include <chrono>
#include <thread>

DaemonInstaller::DaemonInstaller(std::string bundlePath) : bundlePath_(std::move(bundlePath))
{
    if (bundlePath_.empty())
        if (const auto bundle = platform::Bundle::mainBundle())
            bundlePath_ = bundle->bundlePath();
}

std::string DaemonInstaller::daemonInstallCommand() const
{
    using shellquote::single;
    const auto inBundle = [&](const char* relative) { return platform::fs::resolveCaseInsensitive(bundlePath_, relative); };
    const std::string daemon = inBundle("Contents/MacOS/OstrovaDaemon");
    const std::string policy = inBundle("Contents/Resources/com.halvane.ostrova.policy");
    const std::string launchctl = platform::tools::launchctl();
    const std::string helpers = platform::fixedPath("/Library/PrivilegedHelperTools");
    const std::string actions = platform::fixedPath("/usr/share/polkit-1/actions");
    const std::string job = platform::fixedPath("/Library/LaunchDaemons") + "/" + kJobFileName;
    const std::string owner = "root:" + platform::tools::adminGroup();
    // Root runs nothing of the bundle: what it copies must be root's alone (the file and every folder
    // above it root's, and none that others may write, unless sticky), and it runs only the copies.
    const std::string script =
        "umask 022; "
        "trusted() { p=$1; while :; do "
        "[ ! -L \"$p\" ] && [ -n \"$(find \"$p\" -prune -user 0 \\( \\( ! -perm -020 ! -perm -002 \\) -o -perm -1000 \\) -print)\" ] || return 1; "
        "[ \"$p\" = / ] && return 0; p=$(dirname \"$p\"); done; }; "
        "for f in " + single(daemon) + " " + single(launchctl) + " " + single(policy) + "; do "
        "[ -f \"$f\" ] && trusted \"$f\" || { echo \"not installing $f: users other than root can change it\" >&2; exit 3; }; done; "
        "place() { mkdir -p \"$1\" && trusted \"$1\" && cp \"$2\" \"$1/.$3.new\" && chown " + owner + " \"$1/.$3.new\" && "
        "chmod $4 \"$1/.$3.new\" && mv -f \"$1/.$3.new\" \"$1/$3\"; }; "
        "place " + single(helpers) + " " + single(daemon) + " com.halvane.ostrova 544 && "
        "place " + single(helpers) + " " + single(launchctl) + " com.halvane.ostrova.launchctl 544 && "
        "place " + single(actions) + " " + single(policy) + " com.halvane.ostrova.policy 644 || exit 4; "
        "env -u OSTROVA_LAUNCHCTL " + single(helpers + "/com.halvane.ostrova") + " --install-job " + single(job) + " " +
        single(bundlePath_);
    return shellquote::forAppleScript(script);
}

bool DaemonInstaller::daemonAnswers()
{
    // This system root's daemon on this root's socket: a process of that name may serve another
    // root, or be another program altogether.
    XPCRemoteObject<UninstallServiceprotocol> remote(uninstallservice::kServiceName, nullptr);
    return remote.test();
}

void DaemonInstaller::ensureDaemon() const
{
    if (daemonAnswers())
        return;
    const std::string command = daemonInstallCommand();
    withStoredFolderAccess(platform::fixedPath("/"), [&](bool granted) {
        runAdministratorScript(granted, command, true, [](std::optional<std::string>) {});
    });
    for (int poll = 0; poll < 4; ++poll) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        if (daemonAnswers())
            return;
    }
}
