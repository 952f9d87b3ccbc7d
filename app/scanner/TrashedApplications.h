#pragma once

#include <string>
#include <vector>

// The application bundles lying in the user's Trash folders: the home's (~/.Trash) and each
// mounted volume's (/Volumes/<name>/.Trashes/<uid>), with those in folders taken there whole, a few
// levels down. A bundle in a Trash still tells its name, executable and identifier, so what it left
// is found with every rule an installed application's is. Links are not followed.
class TrashedApplications {
public:
    static constexpr int kDepth = 3;

    static std::vector<std::string> bundles();
    // The Trash folders looked into.
    static std::vector<std::string> trashFolders();

private:
    static void collect(const std::string& folder, int level, std::vector<std::string>& found);
};
