#pragma once

// The user's choice, in the application's defaults, whether the agent watches for applications
// taken to the Trash. On unless turned off.
class RemovedApplicationsSetting {
public:
    static bool isOn();
    static bool setOn(bool on);
};
