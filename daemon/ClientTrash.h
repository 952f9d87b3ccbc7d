#pragma once

#include "platform/TrashMover.h"

#include <sys/types.h>

#include <cstdint>

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

    // The device and inode of what was moved.
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
    };

    // The identity of the item at `path`, read from its folder opened without following links.
    static std::optional<Identity> identify(const std::string& path, std::string& why);
    // Moves the item at `path` into the Trash as `trashName`.
    bool moveIn(const std::string& path, const std::string& trashName, std::string& why) const;
    // Moves `trashName` of the Trash to `path`, only while it is still the inode `expected` that
    // was moved in. The client controls its Trash and may swap the entry at any moment, so the entry
    // first goes into a staging folder of root's made inside the Trash (the same volume), is checked
    // there where nobody else can reach it, and only then moves on to `path`; an entry that is not
    // the expected one goes back into the Trash under its name (or a numbered one).
    bool moveBack(const std::string& trashName, const std::string& path, const Identity& expected, std::string& why) const;
    const std::string& folder() const { return folder_; }

private:
    ClientTrash(int fd, std::string folder) : fd_(fd), folder_(std::move(folder)) {}

    int fd_;
    std::string folder_;
};
