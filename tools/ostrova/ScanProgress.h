#pragma once

#include "app/catalogue/UninstallDelegate.h"

#include <cstdio>

// Reports a scan on standard error, one line rewritten in place, when standard error is a terminal.
class ScanProgress : public UninstallDelegate {
public:
    ScanProgress(std::size_t total, bool enabled) : total_(total), enabled_(enabled) {}

    void appsDidLoad() override {}
    void appDidScan(const std::shared_ptr<UninstallApp>& app) override;
    void allAppsDidScan() override;
    void uninstallProgress(UninstallType, double, double) override {}
    bool shouldForceQuit(const std::shared_ptr<UninstallApp>&) override { return false; }

private:
    std::size_t total_;
    std::size_t done_ = 0;
    bool enabled_;
};
