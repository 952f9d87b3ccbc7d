// The field corpus (fixtures/FieldCorpus.h), a Mac laid out after what users of uninstallers
// reported, held item by item: what the scan offers each installed application, and what the
// catalogue lists as gone applications' remains. A failure lists every wrong or missing item with
// the case it stands for.
#include "ReferenceScan.h"
#include "ScannerTestSupport.h"
#include "app/bundles/BundleReader.h"
#include "fixtures/FieldCorpus.h"
#include "platform/PathUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <vector>

namespace {

class FieldCorpusTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }

    std::string shown(const std::string& path) const
    {
        if (path.rfind(tree.home() + "/", 0) == 0)
            return "~" + path.substr(tree.home().size());
        return path.rfind(tree.root(), 0) == 0 ? path.substr(tree.root().size()) : path;
    }
    // One line of the report, led by the case so that the sorted report groups by cause.
    std::string problem(const fixtures::FieldCorpus& corpus, const std::string& path, const std::string& what) const
    {
        return "[" + corpus.caseOfPath(path) + "] " + what + " " + shown(path);
    }

    fixtures::MacTree tree;
};

std::string report(std::vector<std::string> problems, std::size_t right, std::size_t given, std::size_t expected)
{
    std::sort(problems.begin(), problems.end());
    std::ostringstream text;
    text << "precision " << (given ? double(right) / double(given) : 1.0) << " (" << right << "/" << given << "), recall "
         << (expected ? double(right) / double(expected) : 1.0) << " (" << right << "/" << expected << ")\n";
    for (const auto& line : problems)
        text << "  " << line << "\n";
    return text.str();
}

// What the scan offers an application, its own bundle and what lies inside it aside.
std::set<std::string> offeredTo(const UninstallApp& app)
{
    std::set<std::string> paths;
    const std::string inside = *app.bundlePath + "/";
    for (const auto& path : allPaths(app))
        if (path != *app.bundlePath && path.rfind(inside, 0) != 0)
            paths.insert(path);
    return paths;
}

TEST_F(FieldCorpusTest, EachInstalledApplicationIsOfferedExactlyItsOwnItems)
{
    const fixtures::FieldCorpus corpus(tree);
    const auto manager = UninstallAppManager::make();
    manager->setFindsRemains(false);
    manager->discoverApps();
    std::vector<std::string> problems;
    std::set<std::string> listed;
    for (const auto& app : manager->allApps()) {
        listed.insert(*app->bundlePath);
        if (!corpus.scan.count(*app->bundlePath))
            problems.push_back("[listing] listed, yet no installed application: " + shown(*app->bundlePath));
    }
    // One the catalogue misses is still scanned, so that its items are judged too.
    UninstallAppManager::Apps missed;
    for (const auto& [bundle, items] : corpus.scan) {
        if (listed.count(bundle))
            continue;
        problems.push_back("[listing] not listed: " + shown(bundle));
        missed.push_back(BundleReader::record(bundle));
    }
    if (!missed.empty()) {
        auto scanned = manager->allApps();
        scanned.insert(scanned.end(), missed.begin(), missed.end());
        manager->scanOnly(scanned);
    }
    manager->runScanLoop();

    std::size_t right = 0, given = 0, expected = 0;
    for (const auto& app : manager->allApps()) {
        const auto truth = corpus.scan.count(*app->bundlePath) ? corpus.scan.at(*app->bundlePath) : std::set<std::string>{};
        const auto offered = offeredTo(*app);
        const std::string name = platform::path::lastComponent(*app->bundlePath);
        given += offered.size();
        expected += truth.size();
        for (const auto& path : offered) {
            if (truth.count(path))
                ++right;
            else
                problems.push_back(problem(corpus, path, name + " is offered"));
        }
        for (const auto& path : truth)
            if (!offered.count(path))
                problems.push_back(problem(corpus, path, name + " misses"));
    }
    EXPECT_TRUE(problems.empty()) << report(problems, right, given, expected);
}

TEST_F(FieldCorpusTest, RemainsAreGoneApplicationsOwnAndNothingInstalled)
{
    const fixtures::FieldCorpus corpus(tree);
    const auto manager = scannedCatalogue();

    std::map<std::string, std::string> underWhom;
    std::vector<std::string> problems;
    for (const auto& app : manager->goneApps()) {
        const std::string identifier = app->bundleIdentifier();
        const auto paths = allPaths(*app);
        if (!corpus.remains.count(identifier))
            problems.push_back("[" + (paths.empty() ? std::string("gone-records") : corpus.caseOfPath(paths.front())) +
                               "] a gone application the corpus has not: " + identifier);
        const auto name = corpus.goneNames.find(identifier);
        if (name != corpus.goneNames.end() && app->displayName() != name->second)
            problems.push_back("[" + corpus.caseOfPath(*corpus.remains.at(identifier).begin()) + "] " + identifier + " is shown as \"" +
                               app->displayName() + "\", not \"" + name->second + "\"");
        for (const auto& path : paths)
            underWhom[path] = identifier;
    }
    std::size_t right = 0, given = underWhom.size(), expected = 0;
    for (const auto& [identifier, paths] : corpus.remains) {
        expected += paths.size();
        for (const auto& path : paths) {
            const auto whose = underWhom.find(path);
            if (whose == underWhom.end())
                problems.push_back(problem(corpus, path, identifier + " misses"));
            else if (whose->second != identifier)
                problems.push_back(problem(corpus, path, identifier + "'s remain is listed under " + whose->second + ":"));
            else
                ++right;
        }
    }
    for (const auto& [path, identifier] : underWhom) {
        if (corpus.neverRemains.count(path))
            problems.push_back(problem(corpus, path, "listed as a remain of " + identifier + ":"));
        else if (!corpus.caseOf.count(path))
            problems.push_back(problem(corpus, path, "an entry the corpus did not lay out is listed as " + identifier + "'s:"));
    }
    EXPECT_TRUE(problems.empty()) << report(problems, right, given, expected);
}

// The plain algorithm, every folder listed again and every entry tested against every claimant,
// gives each application of the corpus the very groups, items and sizes the scanner does.
TEST_F(FieldCorpusTest, ThePlainAlgorithmAgreesItemForItem)
{
    const fixtures::FieldCorpus corpus(tree);
    const auto manager = scannedCatalogue(false);
    // Bundles in a Trash are no installed applications, but their claims count.
    ASSERT_FALSE(manager->trashedApps().empty());
    expectPlainScanResults(manager->allApps(), manager->trashedApps());
}

}  // namespace
