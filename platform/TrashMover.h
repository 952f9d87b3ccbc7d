#pragma once

#include <sys/types.h>

#include <functional>
#include <set>
#include <string>

namespace platform {

// Moves files and folders into the Trash of the volume they lie on, as the Finder does, and puts
// them back. An item on the volume of its owner's home goes to <home>/.Trash; one on another
// volume to <volume root>/.Trashes/<uid>, made owned by the user with mode 0700 when missing. A
// move is one rename from the item's open folder into the open Trash folder: never a copy, never
// through a link (every folder on the way is opened with O_NOFOLLOW, as SafeRemover does) and
// never over an existing name: a name the Trash already holds gets " 2", " 3", ... before its
// extension. Where the file system refuses the no-replace rename, a file moves by a link under the
// new name (which fails when the name is taken) and the removal of the old one, and a folder does
// not move at all: never a look at the name followed by a plain rename. Safe to use as root for
// another user's Trash: the Trash folder must be a real folder of that user.
class TrashMover {
public:
    // Whose Trash: the user, and the real path of the user's home (no link in it).
    struct Owner {
        uid_t uid = 0;
        gid_t gid = 0;
        std::string home;
    };

    struct Result {
        bool ok = false;
        std::string trashPath;  // where the item is now (moved), or the place it was meant to go
        std::string why;        // what went wrong, in words
        // errno of what went wrong: ENOENT for an item that is not there, EACCES or EPERM where the
        // user's rights do not reach, ENOTDIR when there is no Trash to be had (a link, a file or
        // another user's folder in its place), EROFS, EXDEV, ...
        int error = 0;
    };

    // One plain name of a folder's entry: not empty, not "." or "..", no "/" and no NUL.
    static bool isOneName(const std::string& name);

    // "a.txt" as the n-th name: "a.txt", "a 2.txt", "a 3.txt"; "Folder" gives "Folder 2", "X.app"
    // "X 2.app", ".hidden" ".hidden 2" (a leading dot starts no extension). A folder has an
    // extension only when it is a package: "com.vendor.app" gives "com.vendor.app 2".
    static std::string numberedName(const std::string& name, int number, bool isFolder = false);

    // How far the numbered names of one item go: more than anyone keeps; past it the Trash is
    // taken as full.
    static constexpr int kMaxNumberedNames = 10000;

    // The first of `name`, "name 2", "name 3", ... (numberedName, up to kMaxNumberedNames) that
    // the open folder `folder` does not hold and `planned` does not name; -1 stands for a folder
    // not made yet, which holds nothing. With `take`, each such name is offered to it in turn until
    // it answers true (it took the name, or gave up for another reason than the name being taken
    // meanwhile). The name it stopped at; "" when there was none within kMaxNumberedNames.
    static std::string freeName(int folder, const std::string& name, bool isFolder, const std::set<std::string>& planned = {},
                                const std::function<bool(const std::string& candidate)>& take = {});

    // The Trash folder for an item at `path` (canonical), by the volume of the item's folder; ""
    // with `why` when the folder cannot be looked at.
    static std::string trashFolderFor(const std::string& path, const Owner& owner, std::string& why);

    // Opens the Trash folder, making it (and a volume's .Trashes) when missing and `create`
    // allows; -1 with `why` for a link, something that is not a folder or a folder that is not
    // the owner's. The caller closes the descriptor. `error`, when given, gets the errno of the
    // failure (ENOTDIR when no Trash can be had there, EACCES or EPERM for want of rights).
    static int openTrash(const std::string& trashFolder, const Owner& owner, bool create, std::string& why, int* error = nullptr);

    // Moves the item at `path` into the owner's Trash on its volume under its own name, numbered
    // when taken. `beforeMove`, when given, hears the path each try is about to take first (so a
    // record can hold it before anything moves).
    static Result moveToTrash(const std::string& path, const Owner& owner,
                              const std::function<void(const std::string& plannedTrashPath)>& beforeMove = {});

    // One try: moves the item at `path` (canonical) into the open Trash folder `trash` (at
    // `trashFolder`) as `trashName` (one name, no "/"), never replacing (error EEXIST).
    static Result moveNamed(const std::string& path, int trash, const std::string& trashFolder, const std::string& trashName);

    // Moves `name` of the open folder `trash` to `path` (canonical), whose folder is opened without
    // following links; never replaces what is at `path` (error EEXIST). The folder of `path` must
    // exist.
    static Result moveBack(int trash, const std::string& name, const std::string& path);
    // The same from a Trash path (its folder opened without following links).
    static Result putBack(const std::string& trashPath, const std::string& path);

    // The Owner for this process's user, with `home` made real.
    static Owner currentUser(const std::string& home);
};

}  // namespace platform
