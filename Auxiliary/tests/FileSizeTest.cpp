#include "Auxiliary/FileSize.h"
#include "fixtures/MacTree.h"
#include "platform/Spotlight.h"

#include <gtest/gtest.h>

namespace {

class ReportedSizes : public platform::MetadataProvider {
public:
    std::map<std::string, std::int64_t> sizes;
    std::optional<std::int64_t> fileSystemSize(const std::string& path) const override
    {
        const auto it = sizes.find(path);
        return it == sizes.end() ? std::nullopt : std::optional<std::int64_t>(it->second);
    }
};

class FileSizeTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }
    void TearDown() override { platform::Spotlight::setProvider(nullptr); }
    fixtures::MacTree tree;
};

TEST_F(FileSizeTest, FilesFoldersLinksAndMissingPathsAndSpotlightFromTwentyKilobytesOn)
{
    tree.writeFileOfSize(tree.at("/F/a"), 1234);
    tree.writeFileOfSize(tree.at("/F/sub/b"), 4000);
    tree.writeFileOfSize(tree.at("/F/sub/deeper/c"), 1);
    tree.writeFileOfSize(tree.at("/Big/huge"), 80'000'000);
    tree.symlink(tree.at("/Big"), tree.at("/F/link"));
    const auto linkSize = static_cast<std::int64_t>(tree.at("/Big").size());

    EXPECT_EQ(fileSize(tree.at("/F/a")), 1234);
    EXPECT_EQ(fileSize(tree.at("/F")), 1234 + 4000 + 1 + linkSize);
    EXPECT_EQ(fileSize(tree.at("/F/link")), linkSize);
    EXPECT_EQ(fileSize(tree.at("/Nothing")), 0);
    EXPECT_EQ(fileSize(""), 0);

    tree.writeFileOfSize(tree.at("/Small/x"), 100);
    tree.writeFileOfSize(tree.at("/Large/x"), 100);
    auto provider = std::make_shared<ReportedSizes>();
    provider->sizes[tree.at("/Small")] = 10'000;
    provider->sizes[tree.at("/Large")] = 1'000'000;
    provider->sizes[tree.at("/Small/x")] = 999'999;  // files are measured by their status
    platform::Spotlight::setProvider(provider);
    EXPECT_EQ(fileSize(tree.at("/Small")), 100);
    EXPECT_EQ(fileSize(tree.at("/Large")), 1'000'000);
    EXPECT_EQ(fileSize(tree.at("/Small/x")), 100);
}

}  // namespace
