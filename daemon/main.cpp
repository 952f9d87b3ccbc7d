// OstrovaDaemon: started as root by launchd; removes, unloads and ends processes for the app.
#include "daemon/UninstallServiceWapper.h"
#include "platform/Bundle.h"
#include "platform/SystemLinks.h"
#include "platform/SystemRoot.h"
#include "system/Utility.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

// `OstrovaDaemon --install-job JOBFILE BUNDLE`: run by the installer as root from the copy in root's
// helper folder, writes the job that starts this very copy for that bundle's programs, and loads it.
// A copy anywhere else (a bundle a user may change) refuses: its job would run that user's code.
int installJob(const std::string& jobFile, const std::string& bundle)
{
    const std::string self = platform::Bundle::executablePath();
    const std::string helpers = platform::fixedPath("/Library/PrivilegedHelperTools") + "/";
    std::string why;
    const auto real = platform::SystemLinks::resolveParents(helpers + "com.halvane.ostrova", why);
    if (::geteuid() != 0 || !real || self != *real) {
        std::fprintf(stderr, "OstrovaDaemon: only root's installed copy writes its job\n");
        return 2;
    }
    return Utility::CreatePlist(jobFile, self, bundle) ? 0 : 1;
}

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--install-job")
        return installJob(argv[2], argv[3]);
    std::signal(SIGPIPE, SIG_IGN);
    // Held for the life of the process.
    static const auto service = UninstallServiceWapper::start(ClientCheck::forRunningDaemon());
    if (!service) {
        std::fprintf(stderr, "OstrovaDaemon: cannot publish the service\n");
        return 1;
    }
    for (;;)
        ::pause();
}
