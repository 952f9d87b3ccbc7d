#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

// Who counts as an administrator of the machine: root, and the members of the Mac's "admin" group.
// Here that group is "admin" or else "sudo", or the group that OSTROVA_ADMIN_GROUP names in the
// daemon's own environment (its launchd job sets it; tests choose the group with it without
// touching the machine's users and groups). Resolved once, when the daemon starts.
class AdministratorGroup {
public:
    static AdministratorGroup resolve();
    explicit AdministratorGroup(std::optional<gid_t> group) : group_(group) {}

    // The user's own groups (primary and supplementary, from the group database), never the
    // groups a process happens to hold.
    bool includes(uid_t uid) const;
    std::optional<gid_t> group() const { return group_; }

private:
    std::optional<gid_t> group_;
};
