#include "app/catalogue/RemovedApplicationsSetting.h"

#include "platform/UserDefaults.h"

namespace {

// The agent's own domain is its identifier; the setting belongs to the application's.
constexpr const char* kDomain = "com.qzt.ostrova";
constexpr const char* kKey = "WatchesForRemovedApplications";

}  // namespace

bool RemovedApplicationsSetting::isOn()
{
    const auto saved = platform::UserDefaults(kDomain).objectForKey(kKey);
    if (!saved)
        return true;
    const bool* on = saved->get<bool>();
    return on == nullptr || *on;
}

bool RemovedApplicationsSetting::setOn(bool on)
{
    return platform::UserDefaults(kDomain).setObject(kKey, plist::Value(on));
}
