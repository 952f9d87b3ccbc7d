#pragma once

#include "app/scanner/SearchFilePath.h"

#include <string>
#include <vector>

// Where the daemon acts for one client: strictly inside the application folders and the folders
// the scanner searches (the client's own and the system's), never a folder that holds everyone's
// data, never a protected path, never through a symbolic link, never a path with "." or "..".
// A client without a temporary folder of its own (an empty temporaryDirectory) gets no temporary
// places.
class RemovalPolicy {
public:
    explicit RemovalPolicy(const SearchFilePath::User& client);

    bool allowsRemoval(const std::string& path, std::string& why) const;
    // A .app bundle inside the application folders.
    bool allowsBundle(const std::string& bundlePath, std::string& why) const;
    // An executable inside a .app bundle of the application folders.
    bool allowsExecutable(const std::string& executablePath, std::string& why) const;

private:
    bool wellFormed(const std::string& path, std::string& why) const;
    bool isShared(const std::string& path) const;
    static bool insideAny(const std::string& path, const std::vector<std::string>& roots);

    std::vector<std::string> applicationFolders_;
    std::vector<std::string> searchedFolders_;
    std::vector<std::string> libraries_;
};
