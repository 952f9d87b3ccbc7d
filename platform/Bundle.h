#pragma once

#include "platform/PropertyList.h"

#include <optional>
#include <string>
#include <vector>

namespace platform {

// A bundle folder with its Contents/Info.plist and Contents/Resources, as NSBundle sees it. Names
// inside the bundle are looked up ignoring letter case, as on a Mac volume. An iPhone or iPad
// application keeps Info.plist and resources at its top; one wrapped to run on a Mac
// (X.app/Wrapper/X.app, with the link X.app/WrappedBundle to it and no Contents/Info.plist) is
// described by the bundle inside.
class Bundle {
public:
    // A bundle's own files (Info.plist, InfoPlist.strings, entitlements) larger than this are not
    // read; they are read only as regular files, never through a link at their last component and
    // never waiting on a named pipe.
    static constexpr std::size_t kMaxInfoPlistBytes = 4u << 20;

    // nullopt when the path is not an existing folder (links followed).
    static std::optional<Bundle> atPath(const std::string& path);
    // The .app folder that holds the running executable; outside a bundle, the executable's folder.
    static std::optional<Bundle> mainBundle();
    // Path of the running executable, as the kernel knows it; "" when it cannot tell.
    static std::string executablePath();
    // The innermost ".app" folder of which `executable` lies in Contents/; "" when there is none.
    static std::string enclosingAppBundle(const std::string& executable);

    const std::string& bundlePath() const { return path_; }
    std::string contentsPath() const;
    std::string resourcePath() const;
    // The Info.plist that describes the bundle (where it would be when there is none): the one in
    // Contents, else the one at the top of the bundle or of the bundle it wraps.
    std::string infoPlistPath() const;
    // The bundle inside a wrapped application, as its WrappedBundle link names it within Wrapper;
    // "" when the bundle wraps none.
    std::string wrappedBundlePath() const;

    // The Info.plist dictionary; empty when it is missing or unreadable.
    plist::Dictionary infoDictionary() const;
    // The InfoPlist.strings table of the best localisation for the user's languages; nullopt when
    // the bundle has none.
    std::optional<plist::Dictionary> localizedInfoDictionary() const;
    std::optional<std::string> bundleIdentifier() const;
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const;
    // Localisations present in Resources (folder names without ".lproj").
    std::vector<std::string> localizations() const;

private:
    explicit Bundle(std::string path) : path_(std::move(path)) {}
    // The folder holding Info.plist and the resources of a bundle laid out without Contents (the
    // bundle or the one it wraps); "" for the Mac layout.
    std::string topLevelFolder() const;
    std::string path_;
};

// The user's preferred language codes, most wanted first (LANGUAGE, LC_ALL, LC_MESSAGES, LANG),
// each also with its region dropped ("de_DE.UTF-8" gives "de_DE", "de-DE", "de").
std::vector<std::string> preferredLanguages();

}  // namespace platform
