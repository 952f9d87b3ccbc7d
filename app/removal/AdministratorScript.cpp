#include "app/removal/AdministratorScript.h"

#include "platform/AppleScriptTask.h"
#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Uuid.h"
#include "system/ShellQuote.h"

#include <sys/stat.h>

std::string applicationScriptsFolder()
{
    std::string identifier = "com.qzt.ostrova";
    if (const auto bundle = platform::Bundle::mainBundle())
        if (auto own = bundle->bundleIdentifier())
            identifier = *own;
    return platform::path::homeDirectory() + "/Library/Application Scripts/" + identifier;
}

void runAdministratorScript(bool accessGranted, const std::string& command, bool administrator,
                            const std::function<void(std::optional<std::string>)>& completion)
{
    if (!accessGranted)
        return;
    const std::string folder = applicationScriptsFolder();
    if (folder.empty())
        return;
    platform::fs::makeDirectories(folder);
    const std::string script = folder + "/" + platform::makeUuidString() + ".scpt";
    const std::string cleanup = "rm " + shellquote::forAppleScript(shellquote::single(script));
    std::string text = "do shell script \"" + command + "; " + cleanup + "\"";
    if (administrator)
        text += " with administrator privileges";
    platform::fs::writeFileAtomically(script, text);
    const auto error = platform::AppleScriptTask::run(script);
    if (completion)
        completion(error);
}
