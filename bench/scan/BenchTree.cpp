#include "BenchTree.h"

#include <array>
#include <random>
#include <string>

namespace {

constexpr std::array<const char*, 24> kWords = {"Studio", "Notes", "Sync", "Mail", "Draw", "Photo", "Code", "Player",
                                                "Reader", "Backup", "Vault", "Cast", "Chart", "Mixer", "Pad", "Scan",
                                                "Clip", "Board", "Desk", "Flow", "Track", "Note", "Drive", "Link"};
constexpr std::array<const char*, 30> kVendors = {"orchard", "ferro", "lumen", "quill", "tidal", "basalt", "cobalt",
                                                  "ember", "fjord", "glade", "harbor", "inlet", "juniper", "kestrel",
                                                  "larch", "meadow", "nimbus", "oriel", "pylon", "quarry", "rune",
                                                  "sable", "thistle", "umber", "vale", "willow", "yarrow", "zephyr",
                                                  "alder", "birch"};

}  // namespace

BenchTreeCounts buildBenchTree(fixtures::MacTree& tree, const BenchTreeShape& shape)
{
    BenchTreeCounts counts;
    std::mt19937 random(20261206);
    const int filesPerApp = std::max(4, shape.bundleFiles / std::max(1, shape.apps));
    // Nine tenths of the Library entries belong to applications, spread over nine places.
    const int entriesPerApp = std::max(8, shape.libraryEntries * 9 / 10 / std::max(1, shape.apps));
    const int perPlace = std::max(1, entriesPerApp / 6);

    auto libraryFolder = [&](const std::string& path, int files) {
        for (int f = 0; f < files; ++f)
            tree.writeFileOfSize(path + "/item" + std::to_string(f) + ".dat", 100 + random() % 50000);
        counts.libraryEntries += files + 1;
    };
    auto libraryFile = [&](const std::string& path) {
        tree.writeFileOfSize(path, 100 + random() % 20000);
        counts.libraryEntries += 1;
    };

    for (int i = 0; i < shape.apps; ++i) {
        const std::string vendor = kVendors[static_cast<std::size_t>(i) % kVendors.size()];
        const std::string product = std::string(kWords[static_cast<std::size_t>(i) % kWords.size()]) + " " +
                                    kWords[static_cast<std::size_t>(i / 7) % kWords.size()] + " " + std::to_string(i);
        std::string compact;
        for (const char c : product)
            if (c != ' ')
                compact += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const std::string identifier = "com." + vendor + "." + compact;

        fixtures::AppBlueprint appBlueprint;
        appBlueprint.name = product;
        appBlueprint.identifier = identifier;
        appBlueprint.binaryInfoPlist = i % 2 == 0;
        appBlueprint.executableBytes = 200000 + random() % 2000000;
        for (int f = 0; f < filesPerApp - 3; ++f) {
            appBlueprint.files.emplace_back("Contents/Resources/r" + std::to_string(f / 10) + "/file" + std::to_string(f) + ".res",
                                    static_cast<std::int64_t>(random() % 200000));
        }
        const std::string bundle = tree.addApp("/Applications", appBlueprint);
        counts.bundleFiles += filesPerApp;

        libraryFolder(tree.at("~/Library/Application Support/" + product), perPlace);
        libraryFolder(tree.at("~/Library/Caches/" + identifier), perPlace);
        libraryFile(tree.at("~/Library/Preferences/" + identifier + ".plist"));
        libraryFolder(tree.at("~/Library/Saved Application State/" + identifier + ".savedState"), 3);
        libraryFolder(tree.at("~/Library/Logs/" + product), perPlace);
        libraryFolder(tree.at("~/Library/Containers/" + identifier + "/Data"), perPlace);
        libraryFolder(tree.at("/Library/Application Support/" + product), perPlace / 2);
        libraryFile(tree.at("~/Library/Cookies/" + identifier + ".binarycookies"));
        libraryFolder(tree.at("~/Library/WebKit/" + identifier), perPlace / 2);
        if (i % 3 == 0) {
            const std::string helper = bundle + "/Contents/Library/LaunchServices/" + identifier + ".helper";
            tree.writeFile(helper, "#!/bin/sh\n");
            tree.writePlist(tree.at("~/Library/LaunchAgents/" + identifier + ".helper.plist"),
                            plist::Value(plist::Dictionary{{"Label", identifier + ".helper"},
                                                           {"ProgramArguments", plist::Array{plist::Value(helper)}}}));
            counts.libraryEntries += 1;
        }
        // The places a Mac keeps per identifier, and those found by rules of their own.
        libraryFolder(tree.at("~/Library/Group Containers/ABCDE12345." + identifier), perPlace / 2);
        libraryFolder(tree.at("~/Library/HTTPStorages/" + identifier), 2);
        libraryFile(tree.at("~/Library/Preferences/ByHost/" + identifier + ".0A1B2C3D-4E5F-6789-ABCD-EF0123456789.plist"));
        if (i % 2 == 0)
            libraryFolder(tree.at("~/Library/Application Scripts/" + identifier), 1);
        if (i % 5 == 0) {
            const std::string tool = tree.at("/Library/PrivilegedHelperTools/" + identifier + ".helper");
            libraryFile(tool);
            tree.writePlist(tree.at("/Library/LaunchDaemons/" + identifier + ".helper.plist"),
                            plist::Value(plist::Dictionary{{"Label", identifier + ".helper"},
                                                           {"ProgramArguments", plist::Array{plist::Value(tool)}}}));
            libraryFile(tree.at("/private/var/db/receipts/" + identifier + ".pkg.bom"));
            libraryFile(tree.at("/private/var/db/receipts/" + identifier + ".pkg.plist"));
            counts.libraryEntries += 1;
        }
        if (i % 6 == 0) {
            const std::string plugIn = tree.at("/Library/QuickLook/" + compact + ".qlgenerator");
            tree.writePlist(plugIn + "/Contents/Info.plist", plist::Value(plist::Dictionary{{"CFBundleIdentifier", identifier + ".ql"}}));
            libraryFile(plugIn + "/Contents/MacOS/ql");
        }
        if (i % 4 == 0) {
            libraryFile(tree.at("~/Library/Logs/DiagnosticReports/" + product + "_2026-11-0" + std::to_string(1 + i % 9) +
                                "-101010_host.crash"));
        }
    }
    // A tenth for applications that are no longer installed.
    const std::int64_t strays = std::max<std::int64_t>(10, shape.libraryEntries / 10);
    for (std::int64_t n = 0; n < strays / 5; ++n) {
        const std::string name = "com.gone" + std::to_string(n % 50) + ".tool" + std::to_string(n);
        libraryFolder(tree.at("~/Library/Caches/" + name), 4);
    }
    return counts;
}
