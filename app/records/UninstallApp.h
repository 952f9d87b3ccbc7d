#pragma once

#include "app/records/BundleFacts.h"
#include "app/records/SelectionState.h"
#include "app/records/UnFileGroup.h"
#include "platform/PropertyList.h"
#include "platform/Workspace.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The record of one installed application: plain data, made from what BundleReader read of the
// bundle; nothing here reads the disk. Shared by reference between the catalogue, the scan and the
// screens; it owns its groups, which own their items. The scan writes the groups and sizes on the
// scan queue before it sets isReady; the screens read them once isReady is true.
class UninstallApp {
public:
    static std::shared_ptr<UninstallApp> make(BundleFacts facts);
    // The record of an application that is gone, holding only what it left behind: no bundle
    // path, an Info dictionary with just its identifier and name.
    static std::shared_ptr<UninstallApp> gone(const std::string& bundleIdentifier, const std::string& displayName);

    std::string lastUsed;
    std::string identifier;
    std::atomic<bool> isReady{false};
    std::optional<plist::Dictionary> appInfo;
    std::optional<std::string> bundlePath;
    std::optional<platform::FileIcon> icon;
    std::int64_t bundleSize = 0;
    std::int64_t totalSize = 0;
    // What removal runs have taken of the related files so far (bytes as the scan measured them).
    std::int64_t removedSize = 0;
    std::vector<std::shared_ptr<UnFileGroup>> fileGroups;
    // A gone application's remains are certain unless the search for installed copies ran out of
    // time before it had looked everywhere: a copy it did not reach may still use them.
    bool remainsCertain = true;
    // Protected (by the user, or Ostrova itself): listed, never ticked, removed or reset. The
    // catalogue sets it from the exclusions.
    std::atomic<bool> isProtected{false};

    std::string displayName() const;
    std::string bundleIdentifier() const;
    std::string executableName() const;
    std::string shortVersion() const;
    std::string infoName() const;
    std::string infoDisplayName() const;
    std::string executablePath() const;
    // Whether this is the record of a gone application (no bundle).
    bool isGone() const { return !bundlePath.has_value(); }

    SelectionState selectionState() const;
    void setSelectionState(int state);

    // Drops the items for which `gone` is true, then the groups left empty; order is kept.
    void dropItems(const std::function<bool(const UnFileItem&)>& gone);

private:
    UninstallApp() = default;
    std::string infoString(const char* key) const;
    std::string displayName_;
};
