#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Where the daemon may act for one client. Every path is first held to the one canonical form
// (platform::path::canonicalProblem), and the same string goes on to the actor. Then:
// - never a folder that holds many applications' data (a searched folder, an application folder, a
//   standard Library folder, a protected path), in any letter case;
// - never through a link on the way;
// - only strictly inside the client's places: its home's searched and application folders and its
//   own temporary folders for everyone; the system-wide ones (/Applications, /Library/...,
//   /Users/Shared) only when `systemWide` says so (the daemon then still asks for the right to
//   remove system items for whatever lies outside inOwnPlaces).
class RemovalPolicy {
public:
    struct Client {
        std::string home;                           // canonical, the client's own
        std::vector<std::string> temporaryFolders;  // canonical, each one the client's own
        bool systemWide = false;                    // the system-wide places count too
    };

    explicit RemovalPolicy(const Client& client);

    bool allowsRemoval(const std::string& path, std::string& why) const;
    // A .app bundle inside the client's application folders.
    bool allowsBundle(const std::string& bundlePath, std::string& why) const;
    // An executable inside such a bundle.
    bool allowsExecutable(const std::string& executablePath, std::string& why) const;
    // Whether the path lies in the client's home (its own domain, not the system's).
    bool inHome(const std::string& path) const;
    // Whether the path lies strictly inside one of the client's own places (its home's searched and
    // application folders, its temporary folders).
    bool inOwnPlaces(const std::string& path) const;
    // The client's home (canonical).
    const std::string& home() const { return home_; }

    // Every folder no client may have removed whole.
    const std::vector<std::string>& protectedFolders() const { return protected_; }

private:
    bool wellFormed(const std::string& path, std::string& why) const;
    bool isProtected(const std::string& path) const;
    static bool insideAny(const std::string& path, const std::vector<std::string>& roots);

    std::string home_;
    std::vector<std::string> applicationFolders_;
    std::vector<std::string> searchedFolders_;
    std::vector<std::string> ownFolders_;
    std::vector<std::string> protected_;
    std::vector<std::string> protectedLowered_;
};
