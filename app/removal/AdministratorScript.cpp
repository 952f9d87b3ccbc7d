#include "app/removal/AdministratorScript.h"

#include "platform/AppleScriptTask.h"
#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Uuid.h"
#include "system/ShellQuote.h"

#include <sys/stat.h>
#include <unistd.h>

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
    const bool madeHere = !platform::fs::linkStatus(folder);
    platform::fs::makeDirectories(folder);
    const std::string script = folder + "/" + platform::makeUuidString() + ".scpt";
    const std::string cleanup = "rm " + shellquote::forAppleScript(shellquote::single(script));
    std::string text = "do shell script \"" + command + "; " + cleanup + "\"";
    if (administrator)
        text += " with administrator privileges";
    platform::fs::writeFileAtomically(script, text);
    const auto error = platform::AppleScriptTask::run(script);
    // The script removes itself as its last step, which a refused elevation or a command that
    // stopped early never reaches: nothing of the run stays behind, nor the folder made for it.
    ::unlink(script.c_str());
    if (madeHere)
        ::rmdir(folder.c_str());  // only when empty: never another run's script
    if (completion)
        completion(error);
}
