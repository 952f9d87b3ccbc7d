#pragma once

class RemovalRecord;

// Told when the user leaves the completed or leftovers screen, or asks to put the removal back.
class UninstallCompletedDelegate {
public:
    virtual ~UninstallCompletedDelegate() = default;
    virtual void completed_click() = 0;
    virtual void putBack_click(const RemovalRecord& record) = 0;
};
