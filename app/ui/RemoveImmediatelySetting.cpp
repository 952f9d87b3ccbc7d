#include "app/ui/RemoveImmediatelySetting.h"

#include "platform/UserDefaults.h"

bool RemoveImmediatelySetting::value()
{
    const auto saved = platform::UserDefaults::standard().objectForKey(kKey);
    const bool* on = saved ? saved->get<bool>() : nullptr;
    return on && *on;
}

bool RemoveImmediatelySetting::setValue(bool removesImmediately)
{
    return platform::UserDefaults::standard().setObject(kKey, plist::Value(removesImmediately));
}
