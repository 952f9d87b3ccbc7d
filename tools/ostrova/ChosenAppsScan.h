#pragma once

#include <memory>
#include <string>
#include <vector>

class UninstallAppManager;

// The catalogue `scan` and `uninstall` work on, made one way for both so that what a scan shows is
// what a removal takes: every installed application discovered, the named ones (or all) scanned
// with the claims of the others counted, and no search for the remains of gone applications.
class ChosenAppsScan {
public:
    // The scanned catalogue, its allApps the chosen applications in the order named (each once).
    // Null when a word names no installed application; each such word is said on standard error.
    // `showsProgress`: a line on standard error follows the scan when it is a terminal.
    static std::shared_ptr<UninstallAppManager> run(const std::vector<std::string>& words, bool all, bool showsProgress);
    // The same for `uninstall` and `reset` (`doing` names it in the message): null as well when a
    // word names Ostrova or a named application is protected, each refusal said on standard error.
    static std::shared_ptr<UninstallAppManager> forRemoval(const std::vector<std::string>& words, const std::string& doing);
};
