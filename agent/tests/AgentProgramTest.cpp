#include "fixtures/BackgroundProcess.h"
#include "fixtures/MacTree.h"
#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PropertyList.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

const std::string kAgentBundle = OSTROVA_AGENT_BUNDLE;

// The bundle names the agent and its program, which on a first launch stores the reminder time in
// its own defaults and keeps running.
TEST(AgentProgramTest, OnFirstLaunchTheAgentStoresTheReminderTimeInItsOwnDefaults)
{
    const auto bundle = platform::Bundle::atPath(kAgentBundle);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundleIdentifier(), "com.qzt.ostrova.agent");
    EXPECT_EQ(plist::stringValue(bundle->infoDictionary(), "CFBundleExecutable"), "agent");
    EXPECT_TRUE(platform::fs::exists(kAgentBundle + "/Contents/MacOS/agent"));
    fixtures::MacTree tree;
    tree.activate();
    const std::string defaults = tree.home() + "/.config/com.qzt.ostrova.agent.plist";
    const double before = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();

    fixtures::BackgroundProcess agent({kAgentBundle + "/Contents/MacOS/agent"});
    ASSERT_TRUE(agent.started());
    const plist::Date* stored = nullptr;
    std::optional<plist::Dictionary> contents;
    for (int i = 0; i < 1000 && !stored; ++i) {
        contents = plist::readDictionary(defaults);
        const auto* value = contents ? plist::find(*contents, "lastNotificationTime") : nullptr;
        stored = value ? value->get<plist::Date>() : nullptr;
        if (!stored)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_NE(stored, nullptr) << "no date in " << defaults;
    EXPECT_GE(stored->unixSeconds(), before - 1);
    EXPECT_FALSE(agent.ended(0)) << "the agent keeps running after showing its reminder";
}

}  // namespace
