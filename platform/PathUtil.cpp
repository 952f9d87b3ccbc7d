#include "platform/PathUtil.h"

#include "platform/Utf8.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace platform::path {

std::string lastComponent(std::string_view path)
{
    const std::string trimmed = trimTrailingSlashes(path);
    if (trimmed == "/")
        return "/";
    const auto slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string extension(std::string_view path)
{
    const std::string name = lastComponent(path);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size())
        return "";
    return name.substr(dot + 1);
}

std::string deletingLastComponent(std::string_view path)
{
    const std::string trimmed = trimTrailingSlashes(path);
    if (trimmed == "/")
        return "/";
    const auto slash = trimmed.rfind('/');
    if (slash == std::string::npos)
        return "";
    if (slash == 0)
        return "/";
    return trimmed.substr(0, slash);
}

std::string appending(std::string_view folder, std::string_view name)
{
    std::string result(folder);
    if (result.empty())
        return std::string(name);
    if (result.back() != '/')
        result += '/';
    std::string_view rest = name;
    while (!rest.empty() && rest.front() == '/')
        rest.remove_prefix(1);
    result += rest;
    return result;
}

std::vector<std::string> components(std::string_view path)
{
    std::vector<std::string> parts;
    if (!path.empty() && path.front() == '/')
        parts.emplace_back("/");
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto slash = path.find('/', start);
        const auto end = slash == std::string_view::npos ? path.size() : slash;
        if (end > start)
            parts.emplace_back(path.substr(start, end - start));
        if (slash == std::string_view::npos)
            break;
        start = slash + 1;
    }
    return parts;
}

std::string toLower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return lower;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

std::string standardize(std::string_view path)
{
    const bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string> kept;
    for (const auto& part : components(path)) {
        if (part == "/" || part == ".")
            continue;
        if (part == ".." && !kept.empty() && kept.back() != "..") {
            kept.pop_back();
            continue;
        }
        if (part == ".." && absolute)
            continue;
        kept.push_back(part);
    }
    std::string result = absolute ? "/" : "";
    for (const auto& part : kept)
        result = result.empty() || result == "/" ? result + part : result + "/" + part;
    return result.empty() ? "." : result;
}

std::string trimTrailingSlashes(std::string_view path)
{
    std::string result(path);
    while (result.size() > 1 && result.back() == '/')
        result.pop_back();
    return result;
}

bool isInside(std::string_view inner, std::string_view outer)
{
    const auto innerParts = components(trimTrailingSlashes(inner));
    const auto outerParts = components(trimTrailingSlashes(outer));
    if (outerParts.empty() || innerParts.size() <= outerParts.size())
        return false;
    return std::equal(outerParts.begin(), outerParts.end(), innerParts.begin());
}

std::string canonicalProblem(std::string_view path)
{
    if (path.empty() || path.front() != '/')
        return "not an absolute path";
    if (path.find('\0') != std::string_view::npos)
        return "the path holds a NUL byte";
    if (!utf8::isValid(path))
        return "the path is not valid UTF-8";
    if (path.size() == 1)
        return "the path is \"/\"";
    if (path.back() == '/')
        return "the path ends in \"/\"";
    std::size_t start = 1;
    while (start <= path.size()) {
        const auto end = std::min(path.find('/', start), path.size());
        const auto part = path.substr(start, end - start);
        if (part.empty())
            return "the path holds an empty component";
        if (part == "." || part == "..")
            return "the path holds \".\" or \"..\"";
        start = end + 1;
    }
    return "";
}

std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return trimTrailingSlashes(home);
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr && found->pw_dir)
        return found->pw_dir;
    return "/";
}

std::string expandTilde(std::string_view path)
{
    if (path.empty() || path.front() != '~')
        return std::string(path);
    const auto slash = path.find('/');
    const std::string_view user = path.substr(1, slash == std::string_view::npos ? std::string_view::npos : slash - 1);
    const std::string_view rest = slash == std::string_view::npos ? std::string_view{} : path.substr(slash);
    std::string home;
    if (user.empty()) {
        home = homeDirectory();
    } else {
        struct passwd entry {};
        struct passwd* found = nullptr;
        char buffer[4096];
        const std::string name(user);
        if (getpwnam_r(name.c_str(), &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr || !found->pw_dir)
            return std::string(path);
        home = found->pw_dir;
    }
    if (rest.empty() || rest == "/")
        return home;
    return home == "/" ? std::string(rest) : home + std::string(rest);
}

std::string temporaryDirectory()
{
    const char* tmp = std::getenv("TMPDIR");
    if (tmp == nullptr || *tmp == '\0')
        return "/tmp/";
    std::string dir(tmp);
    if (dir.back() != '/')
        dir += '/';
    return dir;
}

}  // namespace platform::path
