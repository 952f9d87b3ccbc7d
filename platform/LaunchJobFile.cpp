#include "platform/LaunchJobFile.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SafeRemover.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::optional<LaunchJobFile> LaunchJobFile::read(const std::string& path, bool noLinkOnTheWay, std::string& why)
{
    std::optional<std::string> bytes;
    struct stat st {};
    fs::ReadRefusal refusal = fs::ReadRefusal::none;
    if (noLinkOnTheWay) {
        if (const auto problem = path::canonicalProblem(path); !problem.empty()) {
            why = problem;
            return std::nullopt;
        }
        const int folder = SafeRemover::openFolderNoFollow(path::deletingLastComponent(path));
        if (folder < 0) {
            why = "its folder cannot be opened without passing a link";
            return std::nullopt;
        }
        bytes = fs::readRegularFileAt(folder, path::lastComponent(path), kMaxBytes, false, &st, &refusal);
        ::close(folder);
    } else {
        bytes = fs::readRegularFileAt(AT_FDCWD, path, kMaxBytes, false, &st, &refusal);
    }
    if (!bytes) {
        switch (refusal) {
        case fs::ReadRefusal::link: why = "the job file is a link"; break;
        case fs::ReadRefusal::notRegular: why = "the job file is not a regular file"; break;
        case fs::ReadRefusal::tooLarge: why = "the job file is larger than " + std::to_string(kMaxBytes) + " bytes"; break;
        case fs::ReadRefusal::readFailed: why = "the job file cannot be read"; break;
        default: why = "the job file cannot be opened"; break;
        }
        return std::nullopt;
    }
    auto value = plist::parse(*bytes);
    auto* dict = value ? value->get<plist::Dictionary>() : nullptr;
    if (!dict) {
        why = "Invalid property list";
        return std::nullopt;
    }
    LaunchJobFile file;
    file.job = std::move(*dict);
    file.device = st.st_dev;
    file.inode = st.st_ino;
    file.owner = st.st_uid;
    return file;
}

std::string LaunchJobFile::programOf(const plist::Dictionary& job)
{
    if (const auto program = plist::optionalString(job, "Program"))
        return *program;
    const auto* value = plist::find(job, "ProgramArguments");
    const auto* list = value ? value->get<plist::Array>() : nullptr;
    const auto* first = list && !list->empty() ? list->front().get<std::string>() : nullptr;
    return first ? *first : std::string();
}

std::vector<std::string> LaunchJobFile::programsOf(const plist::Dictionary& job)
{
    std::vector<std::string> named{programOf(job)};
    const auto* value = plist::find(job, "ProgramArguments");
    const auto* list = value ? value->get<plist::Array>() : nullptr;
    if (list && !plist::optionalString(job, "Program"))
        for (std::size_t i = 1; i < list->size(); ++i)
            if (const auto* text = (*list)[i].get<std::string>())
                named.push_back(*text);
    std::erase_if(named, [](const std::string& path) { return !fs::exists(path); });
    return named;
}

}  // namespace platform
