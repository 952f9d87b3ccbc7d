#include "daemon/AdministratorGroup.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace {

std::optional<gid_t> groupNamed(const char* name)
{
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getgrnam_r(name, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    return found->gr_gid;
}

}  // namespace

AdministratorGroup AdministratorGroup::resolve()
{
    if (const char* chosen = std::getenv("OSTROVA_ADMIN_GROUP"); chosen && *chosen)
        return AdministratorGroup(groupNamed(chosen));
    for (const char* name : {"admin", "sudo"})
        if (const auto gid = groupNamed(name))
            return AdministratorGroup(gid);
    return AdministratorGroup(std::nullopt);
}

bool AdministratorGroup::includes(uid_t uid) const
{
    if (uid == 0)
        return true;
    if (!group_)
        return false;
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_name)
        return false;
    if (found->pw_gid == *group_)
        return true;
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (::getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (::getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0)
            return false;
    }
    groups.resize(static_cast<std::size_t>(count));
    for (const gid_t gid : groups)
        if (gid == *group_)
            return true;
    return false;
}
