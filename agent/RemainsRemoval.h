#pragma once

#include "agent/RemovedApplication.h"
#include "app/removal/PutBack.h"
#include "app/removal/RemovalRecord.h"
#include "platform/DispatchQueue.h"

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class UninstallAppManager;

// Removes what reported applications left, exactly the items the report lists, with the
// catalogue's engine: into the Trash with a record Put Back can use, through the daemon for what
// the user may not remove (made sure of first, outside the sandbox). One removal at a time.
class RemainsRemoval {
public:
    struct Outcome {
        std::vector<std::string> removed;
        std::vector<std::string> left;
        // Of `left`, what was left on purpose when the removal came to it: its application is
        // installed again, or another file lies at its place than the one judged.
        std::vector<std::string> leftAsInstalled;
        std::vector<std::string> leftAsReplaced;
        // The bytes of the removed items, as scanned.
        std::int64_t removedBytes = 0;
        // The removal's record, when anything went to the Trash.
        std::optional<RemovalRecord> record;
    };

    RemainsRemoval();
    ~RemainsRemoval();
    RemainsRemoval(const RemainsRemoval&) = delete;
    RemainsRemoval& operator=(const RemainsRemoval&) = delete;

    // Starts removing; `done` runs on the main queue once everything was tried. False, and nothing
    // starts, while another removal runs.
    bool start(const std::vector<RemovedApplication>& applications, std::function<void(Outcome)> done);
    // Puts back what a removal moved to the Trash (its outcome's record), the daemon bringing back
    // what the user's rights cannot; `done` runs on the main queue with what came back. False, and
    // nothing starts, while a removal or another put back runs.
    bool putBack(RemovalRecord record, std::function<void(PutBack::Report)> done);
    bool isRunning() const { return running_; }
    // Blocks until the engine has tried everything of a removal or put back that runs, however long
    // that takes (the agent leaves only then, rather than with one half done).
    void waitUntilFinished();

    // Whether the user's own rights fall short of taking `item` away, so that the daemon must.
    static bool needsDaemon(const std::string& item);

    // The Ostrova bundle the agent lies in (Contents/Library/LoginItems of it), else "".
    static std::string containingApplication();

private:
    class Listener;

    // Lives as long as this object: the engine's last report arrives on the catalogue's own queue.
    std::shared_ptr<UninstallAppManager> manager_;
    std::shared_ptr<Listener> listener_;
    std::shared_future<void> finished_;
    bool running_ = false;
    dispatch::SerialQueue queue_{"com.qzt.ostrova.agent.remove"};
};
