#pragma once

#include "app/records/RkUninstallCategoryType.h"
#include "app/records/SelectionState.h"
#include "app/records/UnFileItem.h"

#include <memory>
#include <string>
#include <vector>

class UninstallApp;

// The related files of one category. The application owns its groups; `app` is a back reference.
class UnFileGroup {
public:
    std::weak_ptr<UninstallApp> app;
    std::vector<std::shared_ptr<UnFileItem>> fileItem;
    RkUninstallCategoryType type = RkUninstallCategoryType::other;

    const std::string& title() const { return categoryTitle(type); }
    // Off without items; otherwise on or off when every item agrees with the first, else mixed.
    SelectionState selectionState() const;
    // On ticks every item; anything else clears every item.
    void setSelectionState(int state);
};
