#pragma once

#include <functional>
#include <optional>
#include <string>

// Runs one shell command, with administrator rights when asked, as an AppleScript file in the user's
// application-scripts folder that deletes itself as its last step. `command` must already be
// escaped for an AppleScript string (see shellquote::forAppleScript). Without access nothing runs
// and the completion is not called; otherwise it gets the error of the run (nullopt on success)
// before this returns. The script file goes after the run whatever its outcome.
void runAdministratorScript(bool accessGranted, const std::string& command, bool administrator,
                            const std::function<void(std::optional<std::string>)>& completion);

// The user's application-scripts folder of the app: ~/Library/Application Scripts/<bundle id>.
std::string applicationScriptsFolder();
