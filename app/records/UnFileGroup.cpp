#include "app/records/UnFileGroup.h"

#include <algorithm>

SelectionState UnFileGroup::selectionState() const
{
    if (fileItem.empty())
        return kSelectionOff;
    const bool reference = fileItem.front()->isSelected;
    const bool allAgree = std::all_of(fileItem.begin(), fileItem.end(),
                                      [&](const auto& item) { return item->isSelected == reference; });
    if (!allAgree)
        return kSelectionMixed;
    return reference ? kSelectionOn : kSelectionOff;
}

void UnFileGroup::setSelectionState(int state)
{
    for (auto& item : fileItem)
        item->isSelected = state == kSelectionOn;
}
