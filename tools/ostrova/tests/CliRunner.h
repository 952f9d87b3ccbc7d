#pragma once

#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"

#include <chrono>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// Runs the built `ostrova` over a generated Mac (its root, home, temporary and settings folders),
// with a launchctl that loads nothing: no daemon runs for these tests unless one says so.
// A run still going after `timeout` is killed and reported as timedOut.
inline fixtures::ProcessResult runOstrova(const fixtures::MacTree& tree, std::vector<std::string> words,
                                          const std::string& input = "", std::chrono::seconds timeout = std::chrono::seconds(120))
{
    words.insert(words.begin(), OSTROVA_CLI);
    return fixtures::runProcess(words, {{"OSTROVA_ROOT", tree.root()}, {"HOME", tree.home()},
                                        {"TMPDIR", tree.temporaryDirectory()}, {"XDG_CONFIG_HOME", tree.home() + "/.config"},
                                        {"OSTROVA_LAUNCHCTL", "/bin/false"}},
                                input, timeout);
}

// The paths a dry run lists: the indented lines below its first line, up to the next heading.
inline std::multiset<std::string> dryRunPaths(const std::string& text)
{
    std::multiset<std::string> paths;
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line) && line.rfind("  ", 0) == 0)
        paths.insert(line.substr(2));
    return paths;
}
