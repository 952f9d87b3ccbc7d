#pragma once

#include "platform/PropertyList.h"

#include <functional>
#include <optional>
#include <string>

namespace platform {

// User defaults: one XML property list per domain, $XDG_CONFIG_HOME/<domain>.plist (XDG_CONFIG_HOME
// defaults to ~/.config). Every call reads or rewrites the file, so two processes of the same domain
// see each other's values; writes are serialised with a lock file and replace the file atomically.
class UserDefaults {
public:
    explicit UserDefaults(std::string domain);

    // The domain of the running program: the one set with setStandardDomain, else the main bundle's
    // identifier, else the executable's name.
    static UserDefaults standard();
    static void setStandardDomain(const std::string& domain);

    const std::string& domain() const { return domain_; }
    std::string filePath() const;

    std::optional<plist::Value> objectForKey(const std::string& key) const;
    bool setObject(const std::string& key, const plist::Value& value);
    bool removeObject(const std::string& key);
    // Reads the key's value (nullopt when absent), lets `change` edit it and writes it back, all
    // under the lock, so that two processes editing one key lose neither edit. Nothing is written
    // when `change` answers false, nor over a file that is there but is not a property list (it
    // stays for its owner to mend, rather than being replaced by this one key): false then.
    bool modifyObject(const std::string& key, const std::function<bool(std::optional<plist::Value>&)>& change);

private:
    template <typename Change> bool update(Change change, bool replacesUnreadable = true);
    std::string domain_;
};

}  // namespace platform
