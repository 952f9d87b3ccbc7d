// Discovery and the full related-file scan over a large generated Mac, timed side by side with
// `du -sbc` over the same bundles and found items. Each round times both warm (interleaved) and, when
// the page cache can be dropped, cold; then the cold scan is taken apart phase by phase. Prints the
// ratios of every round and their medians; the last line is ratio_to_du=<warm ratio>.
#include "BenchTree.h"
#include "app/bundles/BundleReader.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/records/UninstallApp.h"
#include "app/scanner/NamePattern.h"
#include "app/scanner/ScanIndex.h"
#include "app/locations/SearchFilePath.h"
#include "app/scanner/BundleSizes.h"
#include "app/scanner/SizeWalk.h"
#include "app/scanner/TrashedApplications.h"
#include "app/scanner/UninstallScaner.h"
#include "fixtures/ChildProcess.h"
#include "platform/CodeSignature.h"
#include "platform/FileSystem.h"
#include "platform/PropertyList.h"
#include "platform/Statistics.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
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
    int breakdownRounds = 3;
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
        else if (arg == "--breakdown-rounds")
            options.breakdownRounds = std::max(0, next());
        else if (arg == "--warm-only")
            options.cold = false;
        else {
            std::fprintf(stderr, "usage: bench_scan [--apps N] [--bundle-files N] [--library-entries N] [--rounds N] "
                                 "[--breakdown-rounds N] [--warm-only]\n");
            std::exit(2);
        }
    }
    return options;
}

struct ScanRun {
    double seconds = 0;
    double discoverySeconds = 0;
    std::vector<std::string> paths;  // bundles and every item found
    std::vector<bool> isBundle;        // for each path
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
    manager->setFindsRemains(false);  // timed apart below; du measures installed applications' items
    manager->runScanLoop();
    ScanRun run;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.discoverySeconds = std::chrono::duration<double>(discovered - start).count();
    run.listings = stats::directoryListings.load() - listings;
    run.patterns = stats::patternMatches.load() - patterns;
    for (const auto& app : manager->allApps())
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem) {
                run.paths.push_back(item->filePath);
                run.isBundle.push_back(group->type == RkUninstallCategoryType::bundle);
            }
    return run;
}

// The name matching alone, over folders already listed: every application's searches, in the
// scan's order, with the launch-item check, against a run index whose folders and job files were
// read beforehand. Sizes are not measured.
double measureMatching()
{
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    const auto listed = manager->allApps();
    const auto index = std::make_shared<ScanIndex>(listed);
    index->prepareRunTables();
    index->launchJobsFiledUnder("", index->foldersFor(RkUninstallCategoryType::daemon),
                                NamePattern::identifierPattern("", SearchFilePath::suffixForCategory(RkUninstallCategoryType::daemon)));
    std::vector<std::unique_ptr<UninstallScaner>> scanners;
    for (const auto& app : manager->allApps()) {
        scanners.push_back(std::make_unique<UninstallScaner>(manager->stopToken(), index));
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
        const auto& app = listed[i];
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
    manager->setFindsRemains(true);
    manager->runScanLoop();
    RemainsRun run;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.goneApps = manager->goneApps().size();
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

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// What this process has made the kernel fetch from the disk so far, in bytes.
std::uint64_t bytesReadFromDisk()
{
    std::ifstream io("/proc/self/io");
    std::string line;
    while (std::getline(io, line))
        if (line.rfind("read_bytes:", 0) == 0)
            return std::strtoull(line.c_str() + 11, nullptr, 10);
    return 0;
}

struct Spent {
    double milliseconds = 0;
    double kibibytes = 0;  // read from the disk
};

// The scan taken apart: the scan's size walk over the paths du measures reads what du reads, then
// each other kind of read the scan makes is timed on its own over every application, in the scan's
// order. Cold, the page cache is dropped once before: what one phase read the later ones find
// cached, so each phase after the first costs only the reads du does not make, and they add up to
// about one cold scan.
constexpr std::array<const char*, 10> kPhases = {
    "size walk of the bundles, six at a time (what du reads)",
    "size walk of the found items (what du reads)",
    "discovery (application folders, Info.plist, icon)",
    "executables' code signatures",
    "bundles inside (Contents/MacOS, helpers, login items, extensions)",
    "the run's index and claims (names, Trash, the rest)",
    "searched folders listed",
    "holder folders listed",
    "own-rule places and launch jobs",
    "per application: matching and the rest (the size walk taken off)",
};

std::array<Spent, kPhases.size()> scanPhases(const ScanRun& found, bool cold)
{
    std::array<Spent, kPhases.size()> spent{};
    if (cold)
        dropCaches();
    auto start = Clock::now();
    auto read = bytesReadFromDisk();
    auto phaseDone = [&](std::size_t phase) {
        spent[phase].milliseconds = millisecondsSince(start);
        const auto now = bytesReadFromDisk();
        spent[phase].kibibytes = static_cast<double>(now - read) / 1024.0;
        read = now;
        start = Clock::now();
    };
    // The bundles as the scan measures them, several at a time (BundleSizes), then the found items
    // one after the other, as the scan measures each when it finds it.
    const auto manager = UninstallAppManager::make();
    std::vector<std::string> bundles;
    for (std::size_t i = 0; i < found.paths.size(); ++i)
        if (found.isBundle[i])
            bundles.push_back(found.paths[i]);
    {
        BundleSizes ahead(bundles, manager->stopToken());
        for (const auto& bundle : bundles)
            (void)ahead.sizeOf(bundle);
    }
    phaseDone(0);
    for (std::size_t i = 0; i < found.paths.size(); ++i)
        if (!found.isBundle[i])
            (void)UninstallAppManager::sizeOfPath(found.paths[i], manager.get());
    phaseDone(1);
    start = Clock::now();

    manager->discoverApps();
    phaseDone(2);

    for (const auto& app : manager->allApps()) {
        const std::string executable = app->executableName();
        if (!executable.empty() && executable.find('/') == std::string::npos)
            (void)platform::CodeSignature::entitlementsOf(
                platform::fs::resolveCaseInsensitive(app->bundlePath.value_or(""), "Contents/MacOS/" + executable));
    }
    phaseDone(3);

    for (const auto& app : manager->allApps()) {
        const std::string contents = app->bundlePath.value_or("") + "/Contents";
        (void)platform::fs::listDirectory(contents + "/MacOS");
        for (const char* place : {"/Helpers", "/Library/LoginItems", "/PlugIns", "/Library/SystemExtensions"}) {
            for (const auto& entry : platform::fs::listDirectory(contents + place).value_or(std::vector<std::string>{}))
                (void)plist::readDictionarySafely(contents + place + "/" + entry + "/Contents/Info.plist", 1 << 20);
        }
    }
    phaseDone(4);

    auto scanned = manager->allApps();
    for (const auto& bundle : TrashedApplications::bundles())
        scanned.push_back(BundleReader::record(bundle));
    const auto index = std::make_shared<ScanIndex>(scanned);
    phaseDone(5);

    index->prepareRunTables();
    phaseDone(6);

    for (const auto& holder : index->holderFolders())
        (void)index->folder(holder.path);
    phaseDone(7);

    for (const auto& folder : SearchFilePath::helperToolFolders())
        (void)index->folder(folder);
    for (const auto& folder : SearchFilePath::receiptFolders())
        (void)index->folder(folder);
    for (const auto& folder : index->plugInFolders()) {
        FolderSnapshot& plugIns = index->folder(folder);
        for (std::uint32_t i = 0; i < plugIns.entries().size(); ++i)
            (void)index->bundleIdentifierAt(plugIns.fullPath(i));
    }
    (void)index->launchJobsFiledUnder("", index->foldersFor(RkUninstallCategoryType::daemon),
                                      NamePattern::identifierPattern("", SearchFilePath::suffixForCategory(RkUninstallCategoryType::daemon)));
    phaseDone(8);

    for (const auto& app : manager->allApps())
        UninstallScaner(manager->stopToken(), index).scan(app);
    phaseDone(9);
    // The scan walked the sizes again, from the cache now: that walk is the first phases'.
    for (const auto& path : found.paths)
        (void)UninstallAppManager::sizeOfPath(path, manager.get());
    spent[9].milliseconds = std::max(0.0, spent[9].milliseconds - millisecondsSince(start));
    return spent;
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
        std::printf("      %d signatures declaring groups, %d bundles inside bundles, %d applications sharing an executable's name, "
                    "%d on volumes, %d in the Trash, %lld entries in holder folders, %lld crash reports\n",
                    counts.groupSignatures, counts.innerBundles, counts.sharedExecutables, counts.volumeApps, counts.trashedApps,
                    static_cast<long long>(counts.holderEntries), static_cast<long long>(counts.crashReports));
        tree.activate();

        resetPeakMemory();
        const ScanRun first = runScan();  // warms the caches and fixes the paths du measures
        const long scanPeakKiB = peakResidentKiB();
        std::printf("found: %zu items (bundles included); %llu folder listings and %llu pattern matches per scan\n",
                    first.paths.size(), static_cast<unsigned long long>(first.listings),
                    static_cast<unsigned long long>(first.patterns));
        runDu(first.paths);

        std::vector<double> ours, theirs, matching, discovery, withRemains, coldOurs, coldTheirs;
        std::size_t goneApps = 0;
        bool cold = options.cold;
        for (int round = 0; round < options.rounds; ++round) {
            // Cold first, the page cache dropped before each side; then an untimed pass fills it
            // again for the warm pair, which the cold du alone would leave half filled.
            if (cold) {
                double scan = 0;
                double du = 0;
                for (int side = 0; side < 2 && cold; ++side) {
                    cold = dropCaches();
                    if (cold && (side == round % 2))
                        scan = runScan().seconds;
                    else if (cold)
                        du = runDu(first.paths);
                }
                if (cold) {
                    coldOurs.push_back(scan);
                    coldTheirs.push_back(du);
                    runScan();
                    runDu(first.paths);
                }
            }
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
            std::printf("round %2d: warm ratio %.3f (scan %.3f s, du %.3f s)", round + 1, ours.back() / theirs.back(),
                        ours.back(), theirs.back());
            if (cold && coldOurs.size() == ours.size())
                std::printf("  cold ratio %.3f (scan %.3f s, du %.3f s)", coldOurs.back() / coldTheirs.back(), coldOurs.back(),
                            coldTheirs.back());
            std::printf("\n");
            std::fflush(stdout);
        }
        const double warmRatio = median(ours) / median(theirs);
        std::printf("warm: scan %.3f s, du -sbc %.3f s (medians of %d interleaved rounds), ratio %.3f\n"
                    "discovery %.3f s of the scan; matching (names against listed folders, all applications): %.2f ms\n",
                    median(ours), median(theirs), options.rounds, warmRatio, median(discovery), median(matching));

        const double added = median(withRemains) - median(ours);
        std::printf("leftovers: %.3f s added to a %.3f s scan of every application (%.1f %%), %zu gone applications\n",
                    added, median(ours), 100.0 * added / median(ours), goneApps);

        if (cold && !coldOurs.empty()) {
            const double coldRatio = median(coldOurs) / median(coldTheirs);
            std::printf("cold: scan %.3f s, du -sbc %.3f s (medians of %zu rounds, page cache dropped before each), ratio %.3f\n",
                        median(coldOurs), median(coldTheirs), coldOurs.size(), coldRatio);
        } else if (options.cold) {
            std::printf("cold: skipped (the page cache cannot be dropped here)\n");
        }
        if (options.breakdownRounds > 0) {
            const bool byCold = cold && !coldOurs.empty();
            std::vector<std::vector<double>> warmPhases(kPhases.size()), coldPhases(kPhases.size()), coldReads(kPhases.size());
            for (int round = 0; round < options.breakdownRounds; ++round) {
                const auto warmSpent = scanPhases(first, false);
                for (std::size_t p = 0; p < kPhases.size(); ++p)
                    warmPhases[p].push_back(warmSpent[p].milliseconds);
                if (!byCold)
                    continue;
                const auto coldSpent = scanPhases(first, true);
                for (std::size_t p = 0; p < kPhases.size(); ++p) {
                    coldPhases[p].push_back(coldSpent[p].milliseconds);
                    coldReads[p].push_back(coldSpent[p].kibibytes);
                }
                runScan();  // fills the cache again for the next warm pass
            }
            std::printf("the scan by phase (medians of %d rounds; cold: page cache dropped once before the phases):\n"
                        "  %-66s %9s %9s %9s\n",
                        options.breakdownRounds, "", "warm ms", "cold ms", "cold KiB");
            std::array<double, 3> sums{};
            for (std::size_t p = 0; p < kPhases.size(); ++p) {
                const std::array<double, 3> row = {median(warmPhases[p]), byCold ? median(coldPhases[p]) : 0.0,
                                                   byCold ? median(coldReads[p]) : 0.0};
                for (std::size_t c = 0; c < row.size(); ++c)
                    sums[c] += row[c];
                std::printf("  %-66s %9.1f %9.1f %9.0f\n", kPhases[p], row[0], row[1], row[2]);
            }
            std::printf("  %-66s %9.1f %9.1f %9.0f\n", "sum", sums[0], sums[1], sums[2]);
            std::printf("  %-66s %9.1f %9.1f\n", "a whole scan (medians above)", 1000.0 * median(ours),
                        byCold ? 1000.0 * median(coldOurs) : 0.0);
            const double warmWalk = median(warmPhases[0]) + median(warmPhases[1]);
            std::printf("the size walk alone takes %.3f of du -sbc's warm time, the rest of the scan %.3f", warmWalk / 1000.0 / median(theirs),
                        (sums[0] - warmWalk) / 1000.0 / median(theirs));
            if (byCold)
                std::printf("; cold %.3f and %.3f", (median(coldPhases[0]) + median(coldPhases[1])) / 1000.0 / median(coldTheirs),
                            (sums[1] - median(coldPhases[0]) - median(coldPhases[1])) / 1000.0 / median(coldTheirs));
            std::printf("\n");
        }
        std::printf("peak resident memory: %.1f MB during a scan, %.1f MB with the matching measure and the remains\n",
                    static_cast<double>(scanPeakKiB) / 1024.0, static_cast<double>(peakResidentKiB()) / 1024.0);
        if (cold && !coldOurs.empty())
            std::printf("cold_ratio_to_du=%.3f\n", median(coldOurs) / median(coldTheirs));
        std::printf("ratio_to_du=%.3f\n", warmRatio);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_scan: %s\n", error.what());
        return 1;
    }
    return 0;
}
