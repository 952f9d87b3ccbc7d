#include "tools/ostrova/CommandHelp.h"

#include <map>

namespace {

constexpr const char* kUsage =
    "usage: ostrova list [--json]\n"
    "       ostrova scan [--json] (--all | APP...)\n"
    "       ostrova uninstall [--yes] [--dry-run] [--delete] [--force-quit] [--only CATEGORY]... [--keep CATEGORY]... APP...\n"
    "       ostrova leftovers [--json]\n"
    "       ostrova leftovers [--yes] [--dry-run] [--delete] (--remove ID... | --all)\n"
    "       ostrova restore --list\n"
    "       ostrova restore [--yes] [--dry-run] (--last | RECORD)\n"
    "       ostrova reset [--yes] [--dry-run] [--delete] APP...\n"
    "       ostrova exclude list [--json]\n"
    "       ostrova exclude add [--app APP] PATH...\n"
    "       ostrova exclude (remove PATH... | protect APP... | unprotect APP...)\n"
    "       ostrova help [COMMAND]\n"
    "       ostrova --version\n"
    "\n"
    "  list    the installed applications: name, version, bundle identifier, last used, path\n"
    "  scan    each application's related files, by category, with their sizes\n"
    "  uninstall  removes the applications and their related files (all ticked unless narrowed)\n"
    "  leftovers  what applications that are gone left behind, by bundle identifier; with --remove\n"
    "             or --all, removes it (ID: a gone application's bundle identifier)\n"
    "  restore    puts a recorded removal back from the Trash (RECORD: an identifier restore --list shows)\n"
    "  reset      takes every related file of the applications but the application itself\n"
    "  exclude    what is never offered: excluded files and folders, protected applications\n"
    "  help    this text, or one command's in full\n"
    "\n"
    "  APP     a display name, a bundle identifier or a bundle path\n"
    "  --all   every installed application\n"
    "  --json  one JSON array with an object per application\n"
    "  --only, --keep  tick only, or keep, the items of a category (bundle, support, cache, ...)\n"
    "  --dry-run  show what would be removed and touch nothing\n"
    "  --yes   do not ask before removing or putting back; --force-quit quits running applications\n"
    "  --delete  delete at once instead of moving to the Trash (also what no Trash can take)\n"
    "  --version, -V  the version of the application the tool belongs to\n"
    "\n"
    "The system root is OSTROVA_ROOT (\"/\" when unset); the home is HOME.\n";

const std::map<std::string, std::string>& commands()
{
    static const std::map<std::string, std::string> texts = {
        {"list",
         "usage: ostrova list [--json]\n"
         "\n"
         "Lists the installed applications of the application folders: name, version, bundle\n"
         "identifier, the day last used and the bundle's path.\n"
         "\n"
         "  --json  one JSON array with an object per application\n"},
        {"scan",
         "usage: ostrova scan [--json] (--all | APP...)\n"
         "\n"
         "Finds each application's related files in the Library folders and lists them by category\n"
         "with their sizes. Nothing is changed.\n"
         "\n"
         "  APP     a display name, a bundle identifier or a bundle path\n"
         "  --all   every installed application\n"
         "  --json  one JSON array with an object per application\n"},
        {"uninstall",
         "usage: ostrova uninstall [--yes] [--dry-run] [--delete] [--force-quit] [--only CATEGORY]... [--keep CATEGORY]... APP...\n"
         "\n"
         "Removes the applications and their related files: into the Trash, with a record that\n"
         "`ostrova restore` undoes. What the user's rights do not reach goes through the daemon.\n"
         "Asks first unless told --yes; without a terminal to ask on, --yes or --dry-run is needed.\n"
         "\n"
         "  APP     a display name, a bundle identifier or a bundle path\n"
         "  --only CATEGORY  tick only the items of the category (bundle, support, cache, ...)\n"
         "  --keep CATEGORY  keep the items of the category\n"
         "  --dry-run  show what would be removed and touch nothing\n"
         "  --yes   do not ask\n"
         "  --delete  delete at once instead of moving to the Trash (also what no Trash can take)\n"
         "  --force-quit  quit applications that are running instead of leaving them\n"},
        {"leftovers",
         "usage: ostrova leftovers [--json]\n"
         "       ostrova leftovers [--yes] [--dry-run] [--delete] (--remove ID... | --all)\n"
         "\n"
         "Lists what applications that are no longer installed left behind, by bundle identifier;\n"
         "with --remove or --all, removes it as uninstall does.\n"
         "\n"
         "  ID      a gone application's bundle identifier\n"
         "  --all   the remains of every gone application, but those marked \"not sure\"\n"
         "          (the search for installed copies ran out of time): name them to remove them\n"
         "  --json  one JSON array with an object per gone application\n"
         "  --dry-run  show what would be removed and touch nothing\n"
         "  --yes   do not ask\n"
         "  --delete  delete at once instead of moving to the Trash\n"},
        {"restore",
         "usage: ostrova restore --list\n"
         "       ostrova restore [--yes] [--dry-run] (--last | RECORD)\n"
         "\n"
         "Puts a removal back from the Trash to the places the items came from, never over\n"
         "something that took a place since.\n"
         "\n"
         "  --list  the recorded removals, newest first\n"
         "  --last  the newest removal\n"
         "  RECORD  a removal's identifier, as --list shows it\n"
         "  --dry-run  show what would come back and touch nothing\n"
         "  --yes   do not ask\n"},
        {"reset",
         "usage: ostrova reset [--yes] [--dry-run] [--delete] APP...\n"
         "\n"
         "Takes every related file of the applications but the application itself, as before its\n"
         "first launch: into the Trash, with a record that `ostrova restore` undoes. An application\n"
         "that runs is quit first. A protected application is refused.\n"
         "\n"
         "  APP     a display name, a bundle identifier or a bundle path\n"
         "  --dry-run  show what would be taken and touch nothing\n"
         "  --yes   do not ask\n"
         "  --delete  delete at once instead of moving to the Trash\n"},
        {"exclude",
         "usage: ostrova exclude list [--json]\n"
         "       ostrova exclude add [--app APP] PATH...\n"
         "       ostrova exclude remove PATH...\n"
         "       ostrova exclude protect APP...\n"
         "       ostrova exclude unprotect APP...\n"
         "\n"
         "Keeps files, folders and applications out of every removal. An excluded path (absolute,\n"
         "kept as given) is never offered, nor anything below it, nor a folder that holds it; a\n"
         "protected application is never removed or reset. Ostrova is always protected. Entries of\n"
         "the store that are not sound are named on standard error and left out; list then exits 1.\n"
         "\n"
         "  --app APP  the exclusion holds for that application only (else for every application)\n"
         "  APP     a display name, a bundle identifier or a bundle path\n"
         "  --json  {\"excluded\": [{\"path\": ..., \"application\": ...}], \"protected\": [...]};\n"
         "          \"application\" is a bundle identifier, \"\" for every application\n"},
        {"help",
         "usage: ostrova help [COMMAND]\n"
         "\n"
         "Prints every command in brief, or one command in full.\n"},
    };
    return texts;
}

}  // namespace

std::string CommandHelp::usage()
{
    return kUsage;
}

std::optional<std::string> CommandHelp::forCommand(const std::string& command)
{
    const auto& texts = commands();
    const auto found = texts.find(command);
    if (found == texts.end())
        return std::nullopt;
    return found->second;
}

std::string CommandHelp::seeAlso(const std::string& command)
{
    return commands().count(command) ? "see 'ostrova help " + command + "'\n" : "see 'ostrova help'\n";
}
