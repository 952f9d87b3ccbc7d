#pragma once

#include <string>

// Installs the daemon as a launchd job of the system when it is not running: one administrator
// script copies the bundle's job file into /Library/LaunchDaemons and loads it.
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
    // The job file to copy: the bundle's resource, or a corrected copy when the bundle has moved
    // since the resource was written (its program must be this bundle's daemon).
    std::string jobFileToInstall() const;

    static constexpr const char* kJobFileName = "com.halvane.ostrova.plist";

private:
    std::string bundlePath_;
};
