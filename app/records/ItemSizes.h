#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class UninstallApp;
class UnFileGroup;
class UnFileItem;

// Adds up the sizes of an application's items as the screens show them: an item that lies inside
// another of the items added (an application inside the bundle) is in that one's size already and
// is not counted again.
class ItemSizes {
public:
    static std::int64_t sum(const std::vector<const UnFileItem*>& items);
    // All the items of a group.
    static std::int64_t ofGroup(const UnFileGroup& group);
    // The ticked items of the applications, each application on its own.
    static std::int64_t ticked(const std::vector<std::shared_ptr<UninstallApp>>& apps);
};
