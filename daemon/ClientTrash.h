#pragma once

#include "platform/TrashMover.h"

#include <sys/types.h>

#include <optional>
#include <string>

// The client's own Trash on the volume of one item, open: <home>/.Trash, or <volume>/.Trashes/<uid>
// on another volume, as platform::TrashMover finds it, owned by the client and reached without a
// link. Items go in and come back under names the client gives, never replacing anything.
class ClientTrash {
public:
    // The Trash for the item at `path` (canonical, its folder existing) of the user `uid` whose
    // home is `home`, made when missing and `create` allows; nullopt with `why` when the user has
    // no password entry or the Trash is not the user's own.
    static std::optional<ClientTrash> open(uid_t uid, const std::string& home, const std::string& path, bool create,
                                           std::string& why);

    ClientTrash(ClientTrash&& other) noexcept;
    ClientTrash& operator=(ClientTrash&&) = delete;
    ClientTrash(const ClientTrash&) = delete;
    ClientTrash& operator=(const ClientTrash&) = delete;
    ~ClientTrash();

    // Moves the item at `path` into the Trash as `trashName`.
    bool moveIn(const std::string& path, const std::string& trashName, std::string& why) const;
    // Moves `trashName` of the Trash to `path`, when it is an item only root could have put there:
    // not the client's own (the client puts those back itself, and could have made them up) and
    // not a second name of a file (a hard link the client made to someone else's file).
    bool moveBack(const std::string& trashName, const std::string& path, uid_t client, std::string& why) const;

private:
    ClientTrash(int fd, std::string folder) : fd_(fd), folder_(std::move(folder)) {}

    int fd_;
    std::string folder_;
};
