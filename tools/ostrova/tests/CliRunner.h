#pragma once

#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"

#include <chrono>
#include <string>
#include <vector>

// Runs the built `ostrova` over a generated Mac (its root, home and temporary folder), with a
// launchctl that loads nothing: no daemon runs for these tests unless one says so.
inline fixtures::ProcessResult runOstrova(const fixtures::MacTree& tree, std::vector<std::string> words,
                                          const std::string& input = "")
{
    words.insert(words.begin(), OSTROVA_CLI);
    return fixtures::runProcess(words, {{"OSTROVA_ROOT", tree.root()}, {"HOME", tree.home()},
                                        {"TMPDIR", tree.temporaryDirectory()}, {"OSTROVA_LAUNCHCTL", "/bin/false"}},
                                input, std::chrono::seconds(120));
}
