#pragma once

#include "app/records/UninstallApp.h"

#include <memory>
#include <string>
#include <vector>

// Picks applications of the catalogue by what a user types: a bundle path, a bundle identifier or a
// display name (letter case ignored), in the order given, each once.
class AppSelector {
public:
    using Apps = std::vector<std::shared_ptr<UninstallApp>>;

    explicit AppSelector(Apps catalogue) : catalogue_(std::move(catalogue)) {}

    // The chosen applications; the words that named none go to `unknown`.
    Apps select(const std::vector<std::string>& words, std::vector<std::string>& unknown) const;

private:
    std::shared_ptr<UninstallApp> find(const std::string& word) const;
    Apps catalogue_;
};
