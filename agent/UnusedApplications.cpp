#include "agent/UnusedApplications.h"

#include "agent/FolderApplications.h"
#include "platform/Spotlight.h"

std::optional<int> UnusedApplications::count(const std::vector<std::string>& folders, std::chrono::system_clock::time_point now)
{
    const auto spotlight = platform::Spotlight::provider();
    const auto cutoff = now - std::chrono::hours(24 * kDays);
    bool looked = false;
    int unused = 0;
    const auto countIn = [&](const FolderApplications& listing) {
        for (const auto& [bundle, application] : listing.applications) {
            const auto date = spotlight->lastUsedDate(bundle);
            if (date && *date < cutoff)
                ++unused;
        }
    };
    for (const auto& folder : folders) {
        const FolderApplications listing = FolderApplications::list(folder);
        // An empty listing is also what a folder that cannot be read gives; either way nothing is there to count.
        if (listing.applications.empty() && listing.folders.empty() && listing.unreadable.empty())
            continue;
        looked = true;
        countIn(listing);
        for (const auto& inner : listing.folders)
            countIn(FolderApplications::list(inner));
    }
    if (!looked)
        return std::nullopt;
    return unused;
}
