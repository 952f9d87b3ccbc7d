#pragma once

#include "platform/Spotlight.h"

#include <map>
#include <string>

// Spotlight answers chosen by a test; paths it does not know fall back to the built-in provider.
class FakeSpotlight : public platform::MetadataProvider {
public:
    std::map<std::string, std::string> names;
    std::map<std::string, std::int64_t> sizes;

    std::optional<std::string> displayName(const std::string& path) const override
    {
        const auto it = names.find(path);
        return it == names.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::optional<std::int64_t> fileSystemSize(const std::string& path) const override
    {
        const auto it = sizes.find(path);
        return it == sizes.end() ? std::nullopt : std::optional<std::int64_t>(it->second);
    }
};

// Installs a provider for one test and restores the built-in one afterwards.
class ScopedSpotlight {
public:
    explicit ScopedSpotlight(std::shared_ptr<const platform::MetadataProvider> provider)
    {
        platform::Spotlight::setProvider(std::move(provider));
    }
    ~ScopedSpotlight() { platform::Spotlight::setProvider(nullptr); }
};
