// Discovery and the full related-file scan over a large generated Mac, timed side by side with
// `du -sbc` over the same bundles and found items. Prints medians of interleaved rounds, warm and
// (when the page cache can be dropped) cold; the last line is ratio_to_du=<warm ratio>.
#include "BenchTree.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/scanner/NamePattern.h"
#include "app/scanner/ScanIndex.h"
#include "app/locations/SearchFilePath.h"
#include "app/scanner/UninstallScaner.h"
#include "fixtures/ChildProcess.h"
#include "platform/Statistics.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    BenchTreeShape shape;
    int rounds = 11;
    bool cold = true;
};

Options parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&] { return i + 1 < argc ? std::atoi(argv[++i]) : 0; };
        if (arg == "--apps")
            options.shape.apps = next();
        else if (arg == "--bundle-files")
            options.shape.bundleFiles = next();
        else if (arg == "--library-entries")
            options.shape.libraryEntries = next();
        else if (arg == "--rounds")
            options.rounds = std::max(1, next());
        else if (arg == "--warm-only")
            options.cold = false;
        else {
            std::fprintf(stderr,
                         "usage: bench_scan [--apps N] [--bundle-files N] [--library-entries N] [--rounds N] [--warm-only]\n");
            std::exit(2);
        }
    }
    return options;
}

struct ScanRun {
    double seconds = 0;
    double discoverySeconds = 0;
    std::vector<std::string> paths;  // bundles and every item found
    std::uint64_t listings = 0;
    std::uint64_t patterns = 0;
};

ScanRun runScan()
{
    namespace stats = platform::statistics;
    const auto listings = stats::directoryListings.load();
    const auto patterns = stats::patternMatches.load();
    const auto start = Clock::now();
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    const auto discovered = Clock::now();
    manager->findsRemains = false;  // timed apart below; du measures installed applications' items
    manager->runScanLoop();
    ScanRun run;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.discoverySeconds = std::chrono::duration<double>(discovered - start).count();
    run.listings = stats::directoryListings.load() - listings;
    run.patterns = stats::patternMatches.load() - patterns;
    for (const auto& app : manager->allApps)
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                run.paths.push_back(item->filePath);
    return run;
}

// The name matching alone, over folders already listed: every application's searches, in the
// scan's order, with the launch-item check, against a run index whose folders and job files were
// read beforehand. Sizes are not measured.
double measureMatching()
{
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    const auto index = std::make_shared<ScanIndex>(manager->allApps);
    index->prepareRunTables();
    index->launchJobsFiledUnder("", index->foldersFor(RkUninstallCategoryType::daemon),
                                NamePattern::identifierPattern("", SearchFilePath::suffixForCategory(RkUninstallCategoryType::daemon)));
    std::vector<std::unique_ptr<UninstallScaner>> scanners;
    for (const auto& app : manager->allApps) {
        scanners.push_back(std::make_unique<UninstallScaner>(manager, index));
        auto& scanner = *scanners.back();
        scanner.current = app;
        scanner.cacheQueue = {app};
        for (const auto& nested : index->nestedApps(*app))
            scanner.cacheQueue.push_back(nested);
        for (const auto& queued : scanner.cacheQueue)
            scanner.matchFolders(*queued, {}, "", RkUninstallCategoryType::support);  // derives the names
    }
    const auto start = Clock::now();
    for (std::size_t i = 0; i < scanners.size(); ++i) {
        auto& scanner = *scanners[i];
        const auto& app = manager->allApps[i];
        for (const auto& queued : scanner.cacheQueue) {
            for (const auto category : SearchFilePath::searchedCategories()) {
                const MatchSet matches =
                    category == RkUninstallCategoryType::daemon
                        ? scanner.matchLaunchItems(*queued)
                        : scanner.matchFolders(*queued, index->foldersFor(category), SearchFilePath::suffixForCategory(category), category);
                if (matches.empty())
                    continue;
                auto group = scanner.groupForCategory(category);
                for (const auto& [path, name] : matches) {
                    auto item = std::make_shared<UnFileItem>();
                    item->filePath = path;
                    item->fileName = name;
                    group->fileItem.push_back(item);
                }
            }
        }
        (void)app;
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A full scan run as the window makes it: discovery, every application, then the remains of gone
// applications (the walk for installed bundles beside the scan). Compared with runScan, which
// leaves the remains out, this is what they add.
struct RemainsRun {
    double seconds = 0;
    std::size_t goneApps = 0;
};

RemainsRun runScanWithRemains()
{
    const auto start = Clock::now();
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    manager->findsRemains = true;
    manager->runScanLoop();
    RemainsRun run;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.goneApps = manager->goneApps.size();
    return run;
}

double runDu(const std::vector<std::string>& paths)
{
    std::vector<std::string> argv = {"/usr/bin/du", "-sbc"};
    argv.insert(argv.end(), paths.begin(), paths.end());
    const auto start = Clock::now();
    const auto result = fixtures::runProcess(argv);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (result.exitCode != 0)
        std::fprintf(stderr, "du failed: %s\n", result.err.substr(0, 200).c_str());
    return seconds;
}

bool dropCaches()
{
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    if (!drop)
        return false;
    drop << "3\n";
    drop.flush();
    return static_cast<bool>(drop);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void resetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5\n";
}

long peakResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    try {
        fixtures::MacTree tree("bench");
        const auto buildStart = Clock::now();
        const BenchTreeCounts counts = buildBenchTree(tree, options.shape);
        std::printf("tree: %d apps, %lld bundle files, %lld library entries (built in %.1f s)\n", options.shape.apps,
                    static_cast<long long>(counts.bundleFiles), static_cast<long long>(counts.libraryEntries),
                    std::chrono::duration<double>(Clock::now() - buildStart).count());
        tree.activate();

        resetPeakMemory();
        const ScanRun first = runScan();  // warms the caches and fixes the paths du measures
        std::printf("found: %zu items (bundles included); %llu folder listings and %llu pattern matches per scan\n",
                    first.paths.size(), static_cast<unsigned long long>(first.listings),
                    static_cast<unsigned long long>(first.patterns));
        runDu(first.paths);

        std::vector<double> ours, theirs, matching, discovery, withRemains;
        std::size_t goneApps = 0;
        for (int round = 0; round < options.rounds; ++round) {
            ScanRun run;
            if (round % 2 == 0) {
                run = runScan();
                theirs.push_back(runDu(first.paths));
            } else {
                theirs.push_back(runDu(first.paths));
                run = runScan();
            }
            ours.push_back(run.seconds);
            discovery.push_back(run.discoverySeconds);
            matching.push_back(measureMatching());
            const RemainsRun remains = runScanWithRemains();
            withRemains.push_back(remains.seconds);
            goneApps = remains.goneApps;
        }
        const double warmRatio = median(ours) / median(theirs);
        std::printf("warm: scan %.3f s, du -sbc %.3f s (medians of %d interleaved rounds), ratio %.3f\n"
                    "discovery %.3f s of the scan; matching (names against listed folders, all applications): %.2f ms\n",
                    median(ours), median(theirs), options.rounds, warmRatio, median(discovery), median(matching));

        const double added = median(withRemains) - median(ours);
        std::printf("leftovers: %.3f s added to a %.3f s scan of every application (%.1f %%), %zu gone applications\n",
                    added, median(ours), 100.0 * added / median(ours), goneApps);

        if (options.cold) {
            std::vector<double> coldOurs, coldTheirs;
            bool dropped = true;
            for (int round = 0; round < options.rounds && dropped; ++round) {
                dropped = dropCaches();
                if (!dropped)
                    break;
                coldOurs.push_back(runScan().seconds);
                dropped = dropCaches();
                coldTheirs.push_back(runDu(first.paths));
            }
            if (dropped && !coldOurs.empty())
                std::printf("cold: scan %.3f s, du -sbc %.3f s (medians of %d rounds, page cache dropped before each), ratio %.3f\n",
                            median(coldOurs), median(coldTheirs), options.rounds, median(coldOurs) / median(coldTheirs));
            else
                std::printf("cold: skipped (the page cache cannot be dropped here)\n");
        }
        std::printf("peak resident memory during the scans: %.1f MB\n", static_cast<double>(peakResidentKiB()) / 1024.0);
        std::printf("ratio_to_du=%.3f\n", warmRatio);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_scan: %s\n", error.what());
        return 1;
    }
    return 0;
}
