#include "app/records/ItemSizes.h"

#include "app/records/UninstallApp.h"

#include <algorithm>
#include <string>

std::int64_t ItemSizes::sum(const std::vector<const UnFileItem*>& items)
{
    std::vector<const UnFileItem*> ordered = items;
    // Ordered with "/" before every other character, whatever lies inside a folder comes right
    // after it ("a/b", "a/b/c", "a/b c").
    const auto key = [](char c) { return c == '/' ? 0 : static_cast<unsigned char>(c) + 1; };
    std::sort(ordered.begin(), ordered.end(), [&](const UnFileItem* a, const UnFileItem* b) {
        return std::lexicographical_compare(a->filePath.begin(), a->filePath.end(), b->filePath.begin(), b->filePath.end(),
                                            [&](char x, char y) { return key(x) < key(y); });
    });
    std::int64_t total = 0;
    const std::string* enclosing = nullptr;
    for (const UnFileItem* item : ordered) {
        if (enclosing && (item->filePath == *enclosing ||
                          (item->filePath.size() > enclosing->size() && item->filePath.compare(0, enclosing->size(), *enclosing) == 0 &&
                           item->filePath[enclosing->size()] == '/')))
            continue;
        enclosing = &item->filePath;
        total += std::max<std::int64_t>(item->size, 0);
    }
    return total;
}

std::int64_t ItemSizes::ofGroup(const UnFileGroup& group)
{
    std::vector<const UnFileItem*> items;
    for (const auto& item : group.fileItem)
        items.push_back(item.get());
    return sum(items);
}

std::int64_t ItemSizes::ticked(const std::vector<std::shared_ptr<UninstallApp>>& apps)
{
    std::int64_t total = 0;
    for (const auto& app : apps) {
        std::vector<const UnFileItem*> items;
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                if (item->isSelected)
                    items.push_back(item.get());
        total += sum(items);
    }
    return total;
}
