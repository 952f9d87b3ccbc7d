#include "tools/ostrova/ScanProgress.h"

#include "app/records/UninstallApp.h"

void ScanProgress::appDidScan(const std::shared_ptr<UninstallApp>& app)
{
    ++done_;
    if (!enabled_)
        return;
    std::string name = app->displayName();
    if (name.size() > 50)
        name = name.substr(0, 47) + "...";
    for (auto& c : name)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    std::fprintf(stderr, "\r\033[KScanning %zu/%zu: %s", done_, total_, name.c_str());
    std::fflush(stderr);
}

void ScanProgress::allAppsDidScan()
{
    if (!enabled_)
        return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
}
