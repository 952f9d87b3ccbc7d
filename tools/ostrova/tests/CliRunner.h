#pragma once

#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"

#include <chrono>
#include <string>
#include <vector>

// Runs the built `ostrova` over a generated Mac (its root, home and temporary folder), with a
// launchctl that loads nothing: no daemon runs for these tests unless one says so.
// A run still going after `timeout` is killed and reported as timedOut.
inline fixtures::ProcessResult runOstrova(const fixtures::MacTree& tree, std::vector<std::string> words,
                                          const std::string& input = "", std::chrono::seconds timeout = std::chrono::seconds(120))
{
    words.insert(words.begin(), OSTROVA_CLI);
    return fixtures::runProcess(words, {{"OSTROVA_ROOT", tree.root()}, {"HOME", tree.home()},
                                        {"TMPDIR", tree.temporaryDirectory()}, {"OSTROVA_LAUNCHCTL", "/bin/false"}},
                                input, timeout);
}
