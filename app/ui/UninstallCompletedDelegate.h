#pragma once

// Told when the user leaves the completed or leftovers screen.
class UninstallCompletedDelegate {
public:
    virtual ~UninstallCompletedDelegate() = default;
    virtual void completed_click() = 0;
};
