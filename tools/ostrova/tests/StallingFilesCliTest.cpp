// `ostrova scan` and `ostrova leftovers` as child processes over a Mac whose searched places and
// bundles hold named pipes and 2 GiB sparse files: both end. A child still running at the deadline
// is killed and fails the test.
#include "CliRunner.h"
#include "fixtures/SearchedFolders.h"
#include "fixtures/StallingFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(StallingFilesCli, ScanAndLeftoversEndWithoutWaitingOnAnyFile)
{
    fixtures::MacTree tree;
    tree.activate();  // for the searched folders of this tree
    const fixtures::StallingFiles files(tree, fixtures::searchedFolders());
    struct Run {
        std::vector<std::string> words;
        const char* found;  // what the command must have got to
    };
    for (const auto& run : {Run{{"scan", "--all", "--json"}, "com.vendor.harbor.pipe.plist"},
                            Run{{"leftovers", "--json"}, fixtures::StallingFiles::kGonePipeIdentifier}}) {
        // Two runs stay well inside the test's own time limit, so the child is always ours to kill.
        const auto result = runOstrova(tree, run.words, "", std::chrono::seconds(45));
        EXPECT_FALSE(result.timedOut) << run.words[0] << " waited on a named pipe";
        EXPECT_EQ(result.exitCode, 0) << run.words[0] << ": " << result.err;
        EXPECT_NE(result.out.find(run.found), std::string::npos) << run.words[0] << ": " << result.out.substr(0, 400);
    }
}

}  // namespace
