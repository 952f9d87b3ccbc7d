#pragma once

#include <string>
#include <string_view>

// The categories of related files, in the order the scan and the screens use.
enum class RkUninstallCategoryType {
    bundle,
    support,
    cache,
    preference,
    state,
    crashReporter,
    log,
    Sandbox,
    daemon,
    loginItem,
    other,
    cookies,
};

inline constexpr int kCategoryCount = 12;

// The localised title of a category, looked up once per process.
const std::string& categoryTitle(RkUninstallCategoryType type);
// The case name as written in the enumeration ("bundle", "crashReporter", "Sandbox", ...).
std::string_view categoryCaseName(RkUninstallCategoryType type);
// The category of a case name; false when the name is unknown.
bool categoryFromCaseName(std::string_view name, RkUninstallCategoryType& type);
