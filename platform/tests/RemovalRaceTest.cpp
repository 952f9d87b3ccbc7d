// While a tree is being removed, another thread keeps exchanging a folder inside it, and the
// folder above it, with symbolic links to protected trees. The remover must lose nothing of the
// protected trees; a plain path-based remover under the same harness does.
#include "fixtures/MacTree.h"
#include "fixtures/Unprivileged.h"
#include "platform/SafeRemover.h"
#include "platform/SystemLinks.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace {

namespace stdfs = std::filesystem;

// The files and links under `folder`, never through a link.
int countFiles(const std::string& folder)
{
    std::error_code error;
    int count = 0;
    for (stdfs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        count += !stdfs::is_directory(it->symlink_status());
    return count;
}

// The remover everyone writes first: checks a path, then uses it again.
void naiveRemove(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return;
    if (!S_ISDIR(st.st_mode)) {
        ::unlink(path.c_str());
        return;
    }
    std::vector<std::string> entries;
    std::error_code error;  // the listing follows a link put there since the check
    for (stdfs::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    for (const auto& entry : entries)
        naiveRemove(entry);
    ::rmdir(path.c_str());
}

struct RaceResult {
    long swaps = 0;
    int lost = 0;
};

// With `usersFolder`, the folder where the links are swapped belongs to another user, as it would
// for an attacker; the links themselves stay root's (they look like the system's).
RaceResult race(fixtures::MacTree& tree, const std::function<void(const std::string&)>& remover, int round,
                bool usersFolder = false)
{
    const std::string base = tree.at("/race" + std::to_string(round));
    const std::string work = base + "/Work";
    const std::string victim = work + "/Victim";
    const std::string protectedInside = base + "/ProtectedInside";
    const std::string protectedAbove = base + "/ProtectedAbove";
    for (int d = 0; d < 40; ++d)
        for (int f = 0; f < 10; ++f)
            tree.writeFile(victim + "/d" + std::to_string(d) + "/f" + std::to_string(f), "x");
    for (int f = 0; f < 50; ++f) {
        tree.writeFile(protectedInside + "/keep" + std::to_string(f), "precious");
        tree.writeFile(protectedAbove + "/Victim/d7/keep" + std::to_string(f), "precious");
    }
    const auto protectedFiles = [&] { return countFiles(protectedInside) + countFiles(protectedAbove); };
    const int before = protectedFiles();
    // Links ready to be exchanged with a folder inside the tree and with the folder above it.
    tree.symlink(protectedInside, base + "/LinkInside");
    tree.symlink(protectedAbove, base + "/LinkAbove");
    if (usersFolder) {
        ::chown(base.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
        ::chown(victim.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid());
    }

    // The swapper works relative to the real folders, so that it never moves protected files
    // itself by following one of its own links.
    const int baseFd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const int victimFd = ::open(victim.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    std::atomic<bool> stop{false};
    std::atomic<long> swaps{0};
    std::thread swapper([&] {
        while (!stop) {
            if (::renameat2(victimFd, "d7", baseFd, "LinkInside", RENAME_EXCHANGE) == 0)
                ++swaps;
            if (::renameat2(baseFd, "Work", baseFd, "LinkAbove", RENAME_EXCHANGE) == 0)
                ++swaps;
        }
    });
    remover(victim);
    stop = true;
    swapper.join();
    ::close(baseFd);
    ::close(victimFd);
    return {swaps.load(), before - protectedFiles()};
}

// Races `remover` for up to `rounds` rounds (fewer once something is lost, with `untilLost`).
RaceResult rounds(const char* name, const std::function<void(const std::string&)>& remover, int rounds, bool usersFolder = false,
                  bool untilLost = false)
{
    fixtures::MacTree tree;
    RaceResult total;
    for (int round = 0; round < rounds && !(untilLost && total.lost > 0); ++round) {
        const auto result = race(tree, remover, round, usersFolder);
        total.swaps += result.swaps;
        total.lost += result.lost;
    }
    std::printf("%s: %ld swaps, %d protected files lost\n", name, total.swaps, total.lost);
    return total;
}

TEST(RemovalRace, TheRemoverNeverFollowsASwappedInLink)
{
    const auto result = rounds("safe remover", [](const std::string& path) { platform::SafeRemover::remove(path); }, 20);
    EXPECT_GT(result.swaps, 100);
    EXPECT_EQ(result.lost, 0);
}

TEST(RemovalRace, ASystemLookingLinkInAUsersFolderIsNeverPassed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "root-owned links in another user's folder need root";
    // The removal as the app and the daemon make it: the system's links resolved, then removed.
    const auto remover = [](const std::string& path) {
        std::string why;
        if (const auto real = platform::SystemLinks::resolveParents(path, why))
            platform::SafeRemover::remove(*real);
    };
    const auto result = rounds("resolving remover", remover, 20, true);
    EXPECT_GT(result.swaps, 100);
    EXPECT_EQ(result.lost, 0);
}

TEST(RemovalRace, TheHarnessCatchesAPathBasedRemover)
{
    EXPECT_GT(rounds("path-based remover", naiveRemove, 40, false, true).lost, 0);
}

}  // namespace
