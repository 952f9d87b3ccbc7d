#pragma once

#include <string>

// Installs the daemon as a launchd job of the system when it is not running, as a Mac installs a
// privileged helper: one administrator script checks that the bundle's daemon, launchctl and rights
// file are root's alone (so no user can swap them), copies them into root's
// /Library/PrivilegedHelperTools (and the rights into polkit's actions), and runs only the copy,
// which writes its own job file as root and loads it. A bundle a user can change is refused.
class DaemonInstaller {
public:
    // `bundlePath`: the Ostrova.app whose daemon to install ("" = the main bundle).
    explicit DaemonInstaller(std::string bundlePath = "");

    // Blocks for the installation and up to four one-second polls; reports nothing.
    void ensureDaemon() const;
    // Whether this system root's daemon answers the test operation on its socket (within a second).
    static bool daemonAnswers();
    // The install command, escaped for an AppleScript string.
    std::string daemonInstallCommand() const;

    static constexpr const char* kJobFileName = "com.halvane.ostrova.plist";

private:
    std::string bundlePath_;
};
