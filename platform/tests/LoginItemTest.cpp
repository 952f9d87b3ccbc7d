#include "fixtures/MacTree.h"
#include "platform/FileSystem.h"
#include "platform/LoginItem.h"

#include <gtest/gtest.h>

namespace {

using platform::LoginItem;

class LoginItemTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }

    // An app bundle in `folder` with the agent inside it, as the build lays it out.
    std::string appWithAgent(const std::string& folder)
    {
        fixtures::AppBlueprint app;
        app.name = "Ostrova";
        app.identifier = "com.qzt.ostrova";
        const std::string bundle = tree.addApp(folder, app);
        fixtures::AppBlueprint agent;
        agent.name = "agent";
        agent.identifier = "com.qzt.ostrova.agent";
        tree.addApp(folder + "/Ostrova.app/Contents/Library/LoginItems", agent);
        return bundle;
    }

    std::string execLine(const std::string& identifier)
    {
        const auto contents = platform::fs::readFile(LoginItem::entryPath(identifier));
        if (!contents)
            return "";
        const auto start = contents->find("\nExec=");
        return contents->substr(start + 6, contents->find('\n', start + 1) - start - 6);
    }

    fixtures::MacTree tree;
};

TEST_F(LoginItemTest, EnablingWritesAnAutostartEntryForTheAgentInTheBundleOnly)
{
    const std::string bundle = appWithAgent("/Applications/My Tools");
    EXPECT_FALSE(LoginItem::isEnabled("com.qzt.ostrova.agent"));
    ASSERT_TRUE(LoginItem::setEnabled("com.qzt.ostrova.agent", true, bundle));
    EXPECT_EQ(LoginItem::entryPath("com.qzt.ostrova.agent"), tree.at("~/.config/autostart/com.qzt.ostrova.agent.desktop"));
    EXPECT_TRUE(LoginItem::isEnabled("com.qzt.ostrova.agent"));
    EXPECT_EQ(execLine("com.qzt.ostrova.agent"),
              "\"" + bundle + "/Contents/Library/LoginItems/agent.app/Contents/MacOS/agent\"");

    // Enabling again rewrites the same entry; disabling removes it, and is not an error twice.
    ASSERT_TRUE(LoginItem::setEnabled("com.qzt.ostrova.agent", true, bundle));
    ASSERT_TRUE(LoginItem::setEnabled("com.qzt.ostrova.agent", false, bundle));
    EXPECT_FALSE(LoginItem::isEnabled("com.qzt.ostrova.agent"));
    EXPECT_TRUE(LoginItem::setEnabled("com.qzt.ostrova.agent", false, bundle));

    // A helper that is not in the bundle is not registered.
    EXPECT_FALSE(LoginItem::setEnabled("com.qzt.other.agent", true, bundle));
    EXPECT_FALSE(LoginItem::isEnabled("com.qzt.other.agent"));
    EXPECT_FALSE(LoginItem::setEnabled("com.qzt.ostrova.agent", true, tree.at("/Applications/Missing.app")));
    EXPECT_FALSE(LoginItem::setEnabled("", true, bundle));
}

TEST_F(LoginItemTest, ExecArgumentsAreQuotedForTheDesktopEntry)
{
    EXPECT_EQ(LoginItem::quoteExecArgument("/Applications/A B.app"), "\"/Applications/A B.app\"");
    // Inside quotes ", `, $ and \ take a backslash, itself escaped in the entry's string; % doubles.
    EXPECT_EQ(LoginItem::quoteExecArgument("/x/$HOME `id` 100% \"q\" \\"),
              "\"/x/\\\\$HOME \\\\`id\\\\` 100%% \\\\\"q\\\\\" \\\\\\\"");

    const std::string bundle = appWithAgent("/Applications/Cost $5 100%");
    ASSERT_TRUE(LoginItem::setEnabled("com.qzt.ostrova.agent", true, bundle));
    EXPECT_EQ(execLine("com.qzt.ostrova.agent"),
              "\"" + tree.at("/Applications/Cost \\\\$5 100%%") + "/Ostrova.app/Contents/Library/LoginItems/agent.app/Contents/MacOS/agent\"");
}

}  // namespace
