#include "app/locations/ReviewManager.h"

#include "system/Utility.h"

#include <ctime>

ReviewManager& ReviewManager::shared()
{
    static auto* manager = new ReviewManager;
    return *manager;
}

bool ReviewManager::reviewPeriodActive() const
{
    if (!Utility::isSandboxed())
        return false;
    std::tm end{};
    end.tm_year = 2024 - 1900;
    end.tm_mon = 6;
    end.tm_mday = 11;
    end.tm_isdst = -1;
    const std::time_t endSeconds = std::mktime(&end);
    if (endSeconds == static_cast<std::time_t>(-1))
        return true;
    const auto now = clock_ ? clock_() : std::chrono::system_clock::now();
    return now < std::chrono::system_clock::from_time_t(endSeconds);
}

void ReviewManager::setClock(Clock clock)
{
    clock_ = std::move(clock);
}
