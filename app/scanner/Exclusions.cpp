#include "app/scanner/Exclusions.h"

#include "app/records/UninstallApp.h"
#include "platform/BundleIdentifier.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include <sys/stat.h>

namespace path = platform::path;

namespace {

// Case folded and composed, so that "Café", "CAFE\u0301" and "café" are one name, as a Mac's
// volume takes them.
std::string folded(const std::string& text)
{
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    unicode.foldCase();
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_SUCCESS(status))
        unicode = nfc->normalize(unicode, status);
    std::string result;
    if (U_FAILURE(status))
        return path::toLower(text);
    unicode.toUTF8String(result);
    return result;
}

std::string resolved(const std::string& path)
{
    char real[PATH_MAX];
    return ::realpath(path.c_str(), real) ? std::string(real) : std::string();
}

// The entry of `folder` a Mac's volume would open for `name`: the name itself, else the one entry
// spelt the same but for case and composition.
std::optional<std::string> entryNamed(const std::string& folder, const std::string& name)
{
    struct stat status {};
    if (::lstat(path::appending(folder, name).c_str(), &status) == 0)
        return name;
    const std::string wanted = folded(name);
    for (const auto& entry : platform::fs::listDirectory(folder).value_or(std::vector<std::string>{}))
        if (folded(entry) == wanted)
            return entry;
    return std::nullopt;
}

// The path as the disk has it: links followed and each folder that exists spelt as on disk, so
// that "~/LINKS/x" through a link "~/Links" reaches the same place as the link's target. What does
// not exist is kept as given.
std::string onDisk(const std::string& lexical)
{
    const std::string whole = resolved(lexical);
    if (!whole.empty())
        return whole;
    std::string current = "/";
    const auto parts = path::components(lexical);
    std::size_t index = 0;
    for (; index < parts.size(); ++index) {
        if (parts[index] == "/")
            continue;
        const auto entry = entryNamed(current, parts[index]);
        const std::string real = entry ? resolved(path::appending(current, *entry)) : std::string();
        if (real.empty())
            break;
        current = real;
    }
    for (; index < parts.size(); ++index)
        current = path::appending(current, parts[index]);
    return current;
}

bool atOrBelow(const std::string& inner, const std::string& outer)
{
    return inner == outer || path::isInside(inner, outer);
}

}  // namespace

Exclusions::Exclusions(std::vector<ExcludedPath> paths, std::vector<std::string> protectedApplications)
    : paths_(std::move(paths)), protected_(std::move(protectedApplications))
{
}

const std::vector<Exclusions::Form>& Exclusions::forms() const
{
    std::call_once(forms_->made, [this] {
        for (const auto& excluded : paths_)
            for (auto& key : comparableForms(excluded.path))
                forms_->all.push_back({std::move(key), excluded.application});
    });
    return forms_->all;
}

std::vector<std::string> Exclusions::comparableForms(const std::string& given)
{
    const std::string expanded = path::expandTilde(given);
    if (!path::startsWith(expanded, "/"))
        return {};
    const std::string lexical = path::trimTrailingSlashes(path::standardize(expanded));
    std::vector<std::string> forms;
    std::string place = lexical;
    if (lexical != "/") {
        const std::string folder = onDisk(path::deletingLastComponent(lexical));
        place = path::appending(folder, path::lastComponent(lexical));
    }
    forms.push_back(folded(place));
    const std::string lead = onDisk(place);
    if (lead != place)
        forms.push_back(folded(lead));
    return forms;
}

bool Exclusions::isOwnIdentifier(std::string_view identifier)
{
    return !identifier.empty() && BundleIdentifier(identifier).extends(BundleIdentifier("com.qzt.ostrova"));
}

bool Exclusions::protectsName(std::string_view name) const
{
    if (name.empty())
        return false;
    const bool isPath = isPathName(name);
    const auto forms = isPath ? comparableForms(std::string(name)) : std::vector<std::string>{};
    for (const auto& entry : protected_) {
        const bool entryIsPath = isPathName(entry);
        if (!isPath && !entryIsPath && BundleIdentifier::same(entry, name))
            return true;
        if (isPath && entryIsPath) {
            // Either may have been given through a link.
            const auto entryForms = comparableForms(entry);
            for (const auto& form : forms)
                if (std::find(entryForms.begin(), entryForms.end(), form) != entryForms.end())
                    return true;
        }
    }
    return false;
}

bool Exclusions::protects(const UninstallApp& app) const
{
    const std::string identifier = app.bundleIdentifier();
    if (isOwnIdentifier(identifier) || protectsName(identifier))
        return true;
    if (!app.bundlePath)
        return false;
    return protectsName(*app.bundlePath) || excludes(*app.bundlePath, identifier);
}

bool Exclusions::excludes(const std::string& itemPath, std::string_view identifier) const
{
    if (paths_.empty())
        return false;
    const auto forms = comparableForms(itemPath);
    if (forms.empty())
        return false;
    for (const auto& excluded : this->forms()) {
        if (!excluded.application.empty() && !BundleIdentifier::same(excluded.application, identifier))
            continue;
        for (const auto& form : forms)
            if (atOrBelow(form, excluded.key))
                return true;
        // Taking the item would take what lies below its place.
        if (path::isInside(excluded.key, forms.front()))
            return true;
    }
    return false;
}

std::vector<std::shared_ptr<UnFileItem>> Exclusions::covered(const UninstallApp& app) const
{
    std::vector<std::shared_ptr<UnFileItem>> items;
    if (paths_.empty())
        return items;
    const std::string identifier = app.bundleIdentifier();
    for (const auto& group : app.fileGroups) {
        if (group->type == RkUninstallCategoryType::bundle)
            continue;
        for (const auto& item : group->fileItem)
            if (excludes(item->filePath, identifier))
                items.push_back(item);
    }
    return items;
}

std::size_t Exclusions::drop(UninstallApp& app, const std::vector<std::shared_ptr<UnFileItem>>& items)
{
    if (items.empty())
        return 0;
    std::size_t dropped = 0;
    for (auto& group : app.fileGroups)
        std::erase_if(group->fileItem, [&](const std::shared_ptr<UnFileItem>& item) {
            if (std::find(items.begin(), items.end(), item) == items.end())
                return false;
            app.totalSize -= item->size;
            ++dropped;
            return true;
        });
    std::erase_if(app.fileGroups, [](const auto& group) { return group->fileItem.empty(); });
    return dropped;
}
