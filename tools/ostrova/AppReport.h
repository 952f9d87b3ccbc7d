#pragma once

#include "app/records/UninstallApp.h"

#include <memory>
#include <string>
#include <vector>

// How the command-line tool prints applications: an aligned text table or one JSON array.
class AppReport {
public:
    using Apps = std::vector<std::shared_ptr<UninstallApp>>;

    static std::string listText(const Apps& apps);
    // Groups in the record's order, each item with its path and size; a gone application's
    // remains that are not certain say so beside its name.
    static std::string scanText(const Apps& apps);
    static std::string json(const Apps& apps);
    // The remains of gone applications (their text is scanText's): identifier, name, total size,
    // "certain" (false when the search for installed copies ran out of time) and the groups as in
    // json.
    static std::string leftoversJson(const Apps& apps);
};
