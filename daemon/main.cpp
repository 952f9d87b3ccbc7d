// OstrovaDaemon: started as root by launchd; removes, unloads and ends processes for the app.
#include "daemon/UninstallServiceWapper.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

int main()
{
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
