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
    {"bundle", OSTROVA_TRANSLATE_NOOP("Category", "Program files")},
    {"support", OSTROVA_TRANSLATE_NOOP("Category", "Supporting documents")},
    {"cache", OSTROVA_TRANSLATE_NOOP("Category", "Cache files")},
    {"preference", OSTROVA_TRANSLATE_NOOP("Category", "Preferences files")},
    {"state", OSTROVA_TRANSLATE_NOOP("Category", "Status files")},
    {"crashReporter", OSTROVA_TRANSLATE_NOOP("Category", "Crash Reporter")},
    {"log", OSTROVA_TRANSLATE_NOOP("Category", "Log files")},
    {"Sandbox", OSTROVA_TRANSLATE_NOOP("Category", "Sandbox files")},
    {"daemon", OSTROVA_TRANSLATE_NOOP("Category", "Daemon")},
    {"loginItem", OSTROVA_TRANSLATE_NOOP("Category", "Login item")},
    {"other", OSTROVA_TRANSLATE_NOOP("Category", "Other files")},
    {"cookies", OSTROVA_TRANSLATE_NOOP("Category", "Cookies")},
}};

}  // namespace

const std::string& categoryTitle(RkUninstallCategoryType type)
{
    static std::array<std::once_flag, kCategoryCount> once;
    static std::array<std::string, kCategoryCount> titles;
    const auto index = static_cast<std::size_t>(type);
    std::call_once(once[index], [index] { titles[index] = platform::localized("Category", kNames[index].titleKey); });
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
