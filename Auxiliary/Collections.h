#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

// List conveniences: bounds-checked access, neighbours with optional wrap-around, removal by value.
namespace collections {

template <typename T>
std::optional<T> safeIndex(const std::vector<T>& list, std::ptrdiff_t index)
{
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(list.size()))
        return std::nullopt;
    return list[static_cast<std::size_t>(index)];
}

// The element after the first one equal to `item`; past the end, the first when `loop`.
template <typename T>
std::optional<T> after(const std::vector<T>& list, const T& item, bool loop = false)
{
    const auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end())
        return std::nullopt;
    const auto next = std::next(it);
    if (next != list.end())
        return *next;
    return loop ? std::optional<T>(list.front()) : std::nullopt;
}

// The element before the first one equal to `item`; before the start, the last when `loop`.
template <typename T>
std::optional<T> before(const std::vector<T>& list, const T& item, bool loop = false)
{
    const auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end())
        return std::nullopt;
    if (it != list.begin())
        return *std::prev(it);
    return loop ? std::optional<T>(list.back()) : std::nullopt;
}

// Removes every element equal to `item`; answers how many went.
template <typename T>
std::size_t remove(std::vector<T>& list, const T& item)
{
    const auto before = list.size();
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
    return before - list.size();
}

}  // namespace collections
