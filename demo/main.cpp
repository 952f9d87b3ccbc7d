// ostrova-demo-tree DIR: builds the demo Mac in DIR and prints the environment that points Ostrova
// at it, for a shell to evaluate.

#include "demo/DemoTree.h"
#include "fixtures/MacTree.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "ostrova-demo-tree";

void printUsage(std::ostream& out)
{
    out << "usage: " << kProgram << " [--force] DIR\n"
        << "\n"
        << "Builds a demo Mac (applications and their leftovers) in DIR and prints OSTROVA_ROOT, HOME and\n"
        << "TMPDIR for it. To use it in the current shell:\n"
        << "  set -a; eval \"$(" << kProgram << " /tmp/ostrova-demo)\"; set +a\n"
        << "\n"
        << "  --force  when DIR exists and is not empty, remove it first\n";
}

// The value as one shell word: unchanged when it is plain, single-quoted otherwise.
std::string shellWord(const std::string& value)
{
    const bool plain = !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || std::string_view("/._-+,:@%").find(c) != std::string_view::npos;
    });
    if (plain)
        return value;
    std::string quoted = "'";
    for (const char c : value) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The absolute, link-resolved form of DIR without a trailing "/".
std::string absoluteFolder(const std::string& argument)
{
    std::string path = fs::weakly_canonical(fs::absolute(argument)).lexically_normal().string();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool isSameOrInside(const fs::path& inner, const fs::path& outer)
{
    return std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end()).first == outer.end();
}

// The application walk leaves out bundles whose path has certain parts; a tree below such a folder
// would show no applications at all.
void warnAboutSkippedPlaces(const std::string& root)
{
    const std::string withSlash = root + "/";
    const char* reason = nullptr;
    if (lowerCase(withSlash).find("/build/") != std::string::npos)
        reason = "a folder named build";
    else if (withSlash.find("Resource") != std::string::npos)
        reason = "\"Resource\"";
    else if (withSlash.find("node_modules") != std::string::npos)
        reason = "\"node_modules\"";
    else if (withSlash.find("/Applications (Parallels)/") != std::string::npos)
        reason = "\"Applications (Parallels)\"";
    if (reason)
        std::cerr << kProgram << ": warning: " << root << " contains " << reason
                  << ", so Ostrova will list none of its applications; choose another folder\n";
}

// Makes sure DIR can take the tree: absent, an empty folder, or (with --force) emptied first.
// Returns an error message, or nothing when DIR is ready.
std::optional<std::string> prepareFolder(const std::string& dir, bool force)
{
    std::error_code error;
    const auto status = fs::symlink_status(dir, error);
    if (error && error != std::errc::no_such_file_or_directory)
        return "cannot read " + dir + ": " + error.message();
    if (!fs::exists(status))
        return std::nullopt;
    if (!fs::is_directory(status))
        return dir + " exists and is not a folder";
    const bool empty = fs::is_empty(dir, error);
    if (error)
        return "cannot list " + dir + ": " + error.message();
    if (empty)
        return std::nullopt;
    if (!force)
        return dir + " exists and is not empty (use --force to replace it)";

    const fs::path path(dir);
    if (std::distance(path.begin(), path.end()) < 3)
        return "refusing to remove " + dir + ": too close to the top of the file system";
    if (const char* home = std::getenv("HOME"); home && *home) {
        const fs::path homePath = fs::weakly_canonical(fs::path(home), error);
        if (!error && isSameOrInside(homePath, path))
            return "refusing to remove " + dir + ": it holds your home folder";
    }
    fixtures::MacTree::removeTree(dir);
    if (fs::exists(fs::symlink_status(dir, error)))
        return "could not remove " + dir;
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv)
{
    bool force = false;
    bool optionsDone = false;
    std::optional<std::string> argument;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsDone && arg == "--") {
            optionsDone = true;
        } else if (!optionsDone && arg == "--force") {
            force = true;
        } else if (!optionsDone && (arg == "-h" || arg == "--help")) {
            printUsage(std::cout);
            return 0;
        } else if (!optionsDone && arg.size() > 1 && arg.front() == '-') {
            std::cerr << kProgram << ": unknown option " << arg << "\n";
            printUsage(std::cerr);
            return 2;
        } else if (argument) {
            std::cerr << kProgram << ": only one folder may be given\n";
            printUsage(std::cerr);
            return 2;
        } else {
            argument = arg;
        }
    }
    if (!argument) {
        printUsage(std::cerr);
        return 2;
    }
    if (argument->empty()) {
        std::cerr << kProgram << ": refusing an empty folder name\n";
        return 1;
    }

    try {
        const std::string dir = absoluteFolder(*argument);
        if (dir == "/") {
            std::cerr << kProgram << ": refusing to build the demo in /\n";
            return 1;
        }
        if (const auto problem = prepareFolder(dir, force)) {
            std::cerr << kProgram << ": " << *problem << "\n";
            return 1;
        }
        warnAboutSkippedPlaces(dir);

        fixtures::MacTree tree("demo", dir);
        demo::buildDemoTree(tree);
        std::cout << "OSTROVA_ROOT=" << shellWord(tree.root()) << "\n"
                  << "HOME=" << shellWord(tree.home()) << "\n"
                  << "TMPDIR=" << shellWord(tree.temporaryDirectory()) << "\n";
    } catch (const std::exception& error) {
        std::cerr << kProgram << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
