#include "fixtures/MacTree.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <sys/stat.h>

// fontconfig, which Qt loads for the fonts, never frees what it read of its configuration; under
// LeakSanitizer that is not this program's leak. (The hook is only looked up in sanitizer builds.)
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

// The reminder's tests need a QApplication on the offscreen platform. Qt reads and may write
// files under HOME and the XDG folders while it starts (font caches, the runtime folder), so the
// whole run gets a temporary home first; each test then activates a tree of its own.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    fixtures::MacTree processHome;
    processHome.activate();
    const std::string runtime = processHome.at("~/.runtime");
    processHome.makeDirectories(runtime);
    ::chmod(runtime.c_str(), 0700);
    auto& environment = processHome.environment();
    environment.set("XDG_RUNTIME_DIR", runtime);
    environment.set("XDG_CACHE_HOME", processHome.at("~/.cache"));
    environment.set("XDG_DATA_HOME", processHome.at("~/.local/share"));
    environment.set("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
