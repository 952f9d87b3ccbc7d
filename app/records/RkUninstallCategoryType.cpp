#include "app/records/RkUninstallCategoryType.h"

#include "platform/Localization.h"

#include <array>
#include <mutex>

namespace {

struct CategoryNames {
    std::string_view caseName;
    const char* titleKey;
};

constexpr std::array<CategoryNames, kCategoryCount> kNames = {{
    {"bundle", "Program files"},
    {"support", "Supporting documents"},
    {"cache", "Cache files"},
    {"preference", "Preferences files"},
    {"state", "Status files"},
    {"crashReporter", "Crash Reporter"},
    {"log", "Log files"},
    {"Sandbox", "Sandbox files"},
    {"daemon", "Daemon"},
    {"loginItem", "Login item"},
    {"other", "Other files"},
    {"cookies", "Cookies"},
}};

}  // namespace

const std::string& categoryTitle(RkUninstallCategoryType type)
{
    static std::array<std::once_flag, kCategoryCount> once;
    static std::array<std::string, kCategoryCount> titles;
    const auto index = static_cast<std::size_t>(type);
    std::call_once(once[index], [index] { titles[index] = platform::localized(kNames[index].titleKey); });
    return titles[index];
}

std::string_view categoryCaseName(RkUninstallCategoryType type)
{
    return kNames[static_cast<std::size_t>(type)].caseName;
}

bool categoryFromCaseName(std::string_view name, RkUninstallCategoryType& type)
{
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i].caseName == name) {
            type = static_cast<RkUninstallCategoryType>(i);
            return true;
        }
    }
    return false;
}
