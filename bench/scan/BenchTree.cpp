#include "BenchTree.h"

#include "fixtures/MachOWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::array<const char*, 24> kWords = {"Studio", "Notes", "Sync", "Mail", "Draw", "Photo", "Code", "Player",
                                                "Reader", "Backup", "Vault", "Cast", "Chart", "Mixer", "Pad", "Scan",
                                                "Clip", "Board", "Desk", "Flow", "Track", "Note", "Drive", "Link"};
constexpr std::array<const char*, 30> kVendors = {"orchard", "ferro", "lumen", "quill", "tidal", "basalt", "cobalt",
                                                  "ember", "fjord", "glade", "harbor", "inlet", "juniper", "kestrel",
                                                  "larch", "meadow", "nimbus", "oriel", "pylon", "quarry", "rune",
                                                  "sable", "thistle", "umber", "vale", "willow", "yarrow", "zephyr",
                                                  "alder", "birch"};

const std::string kRecents =
    "~/Library/Application Support/com.apple.sharedfilelist/com.apple.LSSharedFileList.ApplicationRecentDocuments/";

std::uint64_t roundUp(std::uint64_t value, std::uint64_t to)
{
    return (value + to - 1) / to * to;
}

// A signed executable of `bytes` as a linker and a signing tool leave it: a thin one has its header
// and load commands first and its signature at the very end, the text between left as a hole, so
// reading its entitlements reads two places far apart, as on a Mac. A universal one keeps its slices
// (the second signed with the entitlements) at the start.
void writeExecutable(const std::string& path, const std::optional<plist::Dictionary>& entitlements, bool universal,
                     std::int64_t bytes)
{
    using fixtures::MachOWriter;
    const MachOWriter::Image image =
        universal ? MachOWriter::universal(entitlements.value_or(plist::Dictionary{})) : MachOWriter::thin(entitlements);
    std::string head = image.bytes;
    std::string signature;
    std::uint64_t signatureAt = 0;
    if (!universal) {
        signature = head.substr(image.superBlob);
        head.resize(image.superBlob);
        const std::uint64_t wanted = static_cast<std::uint64_t>(std::max<std::int64_t>(bytes, 0));
        signatureAt = roundUp(std::max<std::uint64_t>(wanted > signature.size() ? wanted - signature.size() : 0, head.size()), 16);
        MachOWriter::put32(head, image.codeSignatureCommand + 8, static_cast<std::uint32_t>(signatureAt), image.bigEndian);
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
    bool written = fd >= 0 && ::pwrite(fd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size());
    if (written && !signature.empty())
        written = ::pwrite(fd, signature.data(), signature.size(), static_cast<off_t>(signatureAt)) ==
                  static_cast<ssize_t>(signature.size());
    const auto end = std::max<std::uint64_t>(signatureAt + signature.size(), static_cast<std::uint64_t>(std::max<std::int64_t>(bytes, 0)));
    written = written && ::ftruncate(fd, static_cast<off_t>(std::max<std::uint64_t>(end, head.size()))) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!written)
        throw std::runtime_error("cannot write executable " + path);
}

plist::Dictionary hardenedRuntimeEntitlements()
{
    return plist::Dictionary{{"com.apple.security.cs.allow-jit", plist::Value(true)},
                             {"com.apple.security.device.audio-input", plist::Value(true)}};
}

// One application of the Mac, as the builder lays it out.
struct AppPlan {
    int index = 0;
    std::string folder;  // a Mac path
    std::string vendor;
    std::string product;  // display and bundle name
    std::string compact;  // the product in lower case without spaces
    std::string identifier;
    std::string executable;  // "" means the product
    bool sharedExecutable = false;

    struct Inner {
        std::string relative;  // inside Contents
        std::string identifier;
        int files = 0;
    };
    std::vector<Inner> inner;
    std::vector<std::string> signedGroups;

    const std::string& processName() const { return executable.empty() ? product : executable; }
};

AppPlan planApp(int i, int apps)
{
    AppPlan plan;
    plan.index = i;
    plan.vendor = kVendors[static_cast<std::size_t>(i) % kVendors.size()];
    plan.product = std::string(kWords[static_cast<std::size_t>(i) % kWords.size()]) + " " +
                   kWords[static_cast<std::size_t>(i / 7) % kWords.size()] + " " + std::to_string(i);
    for (const char c : plan.product)
        if (c != ' ')
            plan.compact += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    plan.identifier = "com." + plan.vendor + "." + plan.compact;
    // An inner identifier that only begins with the application's is beside it, not below it.
    const std::string& sibling = plan.identifier;

    // The last twenty-fifth (at most twelve) on two mounted volumes.
    const int onVolumes = std::min(12, apps / 25);
    plan.folder = "/Applications";
    if (i >= apps - onVolumes / 3)
        plan.folder = "/Volumes/Archive/Applications";
    else if (i >= apps - onVolumes)
        plan.folder = "/Volumes/External/Applications";

    // Executables: Electron's in one app of 25, one shared by a toolkit's applications in one of
    // 30, an executable named apart from the application (its only name in some places) in one of 20.
    if (i % 25 == 3)
        plan.executable = "Electron";
    else if (i % 30 == 17)
        plan.executable = "AppRunner";
    else if (i % 20 == 11)
        plan.executable = std::string(kWords[static_cast<std::size_t>(i) % kWords.size()]) + "Core" + std::to_string(i);
    plan.sharedExecutable = plan.executable == "Electron" || plan.executable == "AppRunner";

    // Bundles inside: app extensions in a fifth (half of them named beside the app's identifier),
    // helpers in a twelfth, login items in an eighth, system extensions in one of fifty.
    if (i % 5 == 0) {
        plan.inner.push_back({"PlugIns/" + plan.product + " Share.appex", plan.identifier + ".ShareExtension", 6});
        if (i % 10 == 0)
            plan.inner.push_back({"PlugIns/" + plan.product + " Widget.appex", sibling + "widget", 8});
    }
    if (i % 12 == 0)
        plan.inner.push_back({"Helpers/" + plan.product + " Helper.app",
                              i % 24 == 0 ? plan.identifier + ".helper" : sibling + "helper", 10});
    if (i % 8 == 0)
        plan.inner.push_back({"Library/LoginItems/" + plan.product + " Launcher.app", sibling + "launcher", 4});
    if (i % 50 == 0)
        plan.inner.push_back({"Library/SystemExtensions/" + plan.identifier + ".netfilter.systemextension",
                              plan.identifier + ".netfilter", 6});

    // A quarter declare groups in their signature: their own, the vendor's suite shared with its
    // other applications, and in half of them one named apart from the identifier.
    if (i % 4 == 0) {
        plan.signedGroups = {"ABCDE12345." + plan.identifier, "group.com." + plan.vendor + ".suite"};
        if (i % 8 == 0)
            plan.signedGroups.push_back("XYZ98765AB." + plan.compact + "sync");
    }
    return plan;
}

class Builder {
public:
    Builder(fixtures::MacTree& tree, const BenchTreeShape& shape) : tree_(tree), shape_(shape) {}

    BenchTreeCounts build()
    {
        filesPerApp_ = std::max(16, shape_.bundleFiles / std::max(1, shape_.apps));
        // Nine tenths of the Library entries belong to applications, spread over nine places.
        const int entriesPerApp = std::max(8, shape_.libraryEntries * 9 / 10 / std::max(1, shape_.apps));
        perPlace_ = std::max(1, entriesPerApp / 6);
        // The start-up disk's entry among the volumes is a link to the root.
        tree_.symlink(tree_.root(), tree_.at("/Volumes/Macintosh HD"));
        for (int i = 0; i < shape_.apps; ++i) {
            const AppPlan plan = planApp(i, shape_.apps);
            addBundle(plan);
            addLibraryEntries(plan);
            addHolderEntries(plan);
            addCrashReports(plan);
        }
        addTrashedApps();
        addStrays();
        return counts_;
    }

private:
    void libraryFolder(const std::string& path, int files)
    {
        for (int f = 0; f < files; ++f)
            tree_.writeFileOfSize(path + "/item" + std::to_string(f) + ".dat", 100 + random_() % 50000);
        counts_.libraryEntries += files + 1;
    }
    void libraryFile(const std::string& path)
    {
        tree_.writeFileOfSize(path, 100 + random_() % 20000);
        counts_.libraryEntries += 1;
    }
    void holderFolder(const std::string& macPath, int files)
    {
        libraryFolder(tree_.at(macPath), files);
        ++counts_.holderEntries;
    }
    void holderFile(const std::string& macPath)
    {
        libraryFile(tree_.at(macPath));
        ++counts_.holderEntries;
    }
    void crashReport(const std::string& macPath)
    {
        libraryFile(tree_.at(macPath));
        ++counts_.crashReports;
    }

    void addBundle(const AppPlan& plan)
    {
        const int i = plan.index;
        fixtures::AppBlueprint blueprint;
        blueprint.name = plan.product;
        blueprint.identifier = plan.identifier;
        blueprint.executable = plan.executable;
        blueprint.binaryInfoPlist = i % 2 == 0;
        if (i % 3 == 0)
            blueprint.localizedNames = {{"en", plan.product}};
        if (i % 25 == 0)
            blueprint.applicationGroups = {"ABCDE12345." + plan.identifier};  // left readable by the build
        // The executable, Info.plist and icon, the strings, the inner bundles: the rest are resources.
        int resources = filesPerApp_ - 3 - (i % 3 == 0 ? 1 : 0) - (i % 25 == 0 ? 1 : 0);
        for (const auto& inner : plan.inner)
            resources -= inner.files + 2;
        if (plan.executable == "Electron") {
            for (int f = 0; f < 40; ++f)
                blueprint.files.emplace_back("Contents/Frameworks/Electron Framework.framework/Versions/A/Resources/part" +
                                                 std::to_string(f) + ".pak",
                                             static_cast<std::int64_t>(random_() % 400000));
            resources -= 40;
        }
        for (int f = 0; f < resources; ++f)
            blueprint.files.emplace_back("Contents/Resources/r" + std::to_string(f / 10) + "/file" + std::to_string(f) + ".res",
                                         static_cast<std::int64_t>(random_() % 200000));
        const std::string bundle = tree_.addApp(plan.folder, blueprint);
        counts_.bundleFiles += filesPerApp_ + std::max(0, -resources);  // more than asked for in a small tree
        if (plan.folder != "/Applications")
            ++counts_.volumeApps;
        if (plan.sharedExecutable)
            ++counts_.sharedExecutables;

        // Every executable is signed: with groups, with a hardened runtime's entitlements, or none.
        std::optional<plist::Dictionary> entitlements;
        if (!plan.signedGroups.empty()) {
            entitlements = fixtures::MachOWriter::groupEntitlements(plan.signedGroups);
            ++counts_.groupSignatures;
        } else if (i % 4 != 2) {
            entitlements = hardenedRuntimeEntitlements();
        }
        writeExecutable(bundle + "/Contents/MacOS/" + plan.processName(), entitlements, i % 3 == 1 && entitlements.has_value(),
                        200000 + static_cast<std::int64_t>(random_() % 2000000));

        for (const auto& inner : plan.inner) {
            const std::string path = bundle + "/Contents/" + inner.relative;
            const std::string executable = "inner" + std::to_string(counts_.innerBundles);
            tree_.writePlist(path + "/Contents/Info.plist",
                             plist::Value(plist::Dictionary{{"CFBundleIdentifier", plist::Value(inner.identifier)},
                                                            {"CFBundleExecutable", plist::Value(executable)}}),
                             i % 2 == 0 ? plist::Format::Binary : plist::Format::Xml);
            tree_.writeFileOfSize(path + "/Contents/MacOS/" + executable, 50000 + random_() % 400000);
            for (int f = 0; f < inner.files; ++f)
                tree_.writeFileOfSize(path + "/Contents/Resources/part" + std::to_string(f), random_() % 60000);
            ++counts_.innerBundles;
        }
        if (i % 3 == 0) {
            const std::string helper = bundle + "/Contents/Library/LaunchServices/" + plan.identifier + ".helper";
            tree_.writeFile(helper, "#!/bin/sh\n");
            tree_.writePlist(tree_.at("~/Library/LaunchAgents/" + plan.identifier + ".helper.plist"),
                             plist::Value(plist::Dictionary{{"Label", plan.identifier + ".helper"},
                                                            {"ProgramArguments", plist::Array{plist::Value(helper)}}}));
            counts_.libraryEntries += 1;
        }
    }

    void addLibraryEntries(const AppPlan& plan)
    {
        const int i = plan.index;
        const std::string& product = plan.product;
        const std::string& identifier = plan.identifier;
        libraryFolder(tree_.at("~/Library/Application Support/" + product), perPlace_);
        libraryFolder(tree_.at("~/Library/Caches/" + identifier), perPlace_);
        libraryFile(tree_.at("~/Library/Preferences/" + identifier + ".plist"));
        libraryFolder(tree_.at("~/Library/Saved Application State/" + identifier + ".savedState"), 3);
        libraryFolder(tree_.at("~/Library/Logs/" + product), perPlace_);
        libraryFolder(tree_.at("~/Library/Containers/" + identifier + "/Data"), perPlace_);
        libraryFolder(tree_.at("/Library/Application Support/" + product), perPlace_ / 2);
        libraryFile(tree_.at("~/Library/Cookies/" + identifier + ".binarycookies"));
        libraryFolder(tree_.at("~/Library/WebKit/" + identifier), perPlace_ / 2);
        // The places a Mac keeps per identifier, and those found by rules of their own.
        libraryFolder(tree_.at("~/Library/Group Containers/ABCDE12345." + identifier), perPlace_ / 2);
        for (const auto& group : plan.signedGroups)
            if (group.rfind("ABCDE12345.", 0) != 0)
                libraryFolder(tree_.at("~/Library/Group Containers/" + group), 2);
        libraryFolder(tree_.at("~/Library/HTTPStorages/" + identifier), 2);
        libraryFile(tree_.at("~/Library/Preferences/ByHost/" + identifier + ".0A1B2C3D-4E5F-6789-ABCD-EF0123456789.plist"));
        if (i % 2 == 0)
            libraryFolder(tree_.at("~/Library/Application Scripts/" + identifier), 1);
        if (i % 5 == 0) {
            const std::string tool = tree_.at("/Library/PrivilegedHelperTools/" + identifier + ".helper");
            libraryFile(tool);
            tree_.writePlist(tree_.at("/Library/LaunchDaemons/" + identifier + ".helper.plist"),
                             plist::Value(plist::Dictionary{{"Label", identifier + ".helper"},
                                                            {"ProgramArguments", plist::Array{plist::Value(tool)}}}));
            libraryFile(tree_.at("/private/var/db/receipts/" + identifier + ".pkg.bom"));
            libraryFile(tree_.at("/private/var/db/receipts/" + identifier + ".pkg.plist"));
            counts_.libraryEntries += 1;
        }
        if (i % 6 == 0) {
            const std::string plugIn = tree_.at("/Library/QuickLook/" + plan.compact + ".qlgenerator");
            tree_.writePlist(plugIn + "/Contents/Info.plist", plist::Value(plist::Dictionary{{"CFBundleIdentifier", identifier + ".ql"}}));
            libraryFile(plugIn + "/Contents/MacOS/ql");
        }
        // What the bundles inside keep under their own identifiers: an extension's or login item's
        // container and scripts, a helper's caches and preferences.
        for (const auto& inner : plan.inner) {
            if (inner.relative.ends_with(".appex") || inner.relative.rfind("Library/LoginItems/", 0) == 0) {
                libraryFolder(tree_.at("~/Library/Containers/" + inner.identifier + "/Data"), 2);
                libraryFolder(tree_.at("~/Library/Application Scripts/" + inner.identifier), 1);
            } else {
                libraryFolder(tree_.at("~/Library/Caches/" + inner.identifier), 2);
                libraryFile(tree_.at("~/Library/Preferences/" + inner.identifier + ".plist"));
            }
        }
        // What only the executable's name tells (a shared name's entries are among the strays).
        if (!plan.executable.empty() && !plan.sharedExecutable) {
            libraryFolder(tree_.at("~/Library/Caches/" + plan.executable), 1);
            libraryFile(tree_.at("~/Library/Logs/" + plan.executable + ".log"));
        }
    }

    // One .sfl3 per application used, and the stores of the crash-reporting libraries, downloads,
    // help, file providers, cloud storage and native-messaging manifests of those that keep them.
    void addHolderEntries(const AppPlan& plan)
    {
        const int i = plan.index;
        const std::string& identifier = plan.identifier;
        if (i % 3 != 2)
            holderFile(kRecents + identifier + ".sfl3");
        if (i % 10 == 1)
            holderFolder("~/Library/Caches/com.crashlytics.data/" + identifier, 2);
        if (i % 20 == 2)
            holderFolder("~/Library/Caches/com.plausiblelabs.crashreporter.data/" + identifier, 1);
        if (i % 15 == 4)
            holderFolder("~/Library/Caches/SentryCrash/" + plan.product, 2);
        if (i % 5 == 3)
            holderFolder("~/Library/Caches/com.apple.nsurlsessiond/Downloads/" + identifier, 1);
        if (i % 6 == 5)
            holderFolder("~/Library/Caches/com.apple.helpd/Generated/" + identifier + ".help*1.0", 2);
        if (i % 30 == 9)
            holderFolder("~/Library/Application Support/FileProvider/" + identifier + ".FileProvider", 2);
        if (i % 100 == 5)
            holderFolder("~/Library/CloudStorage/" + plan.product + "-me@example.com", 3);
        if (i % 15 == 6) {
            holderFile("~/Library/Application Support/Google/Chrome/NativeMessagingHosts/" + identifier + ".json");
            if (i % 30 == 6) {
                for (const char* browser : {"Mozilla", "Microsoft Edge", "BraveSoftware/Brave-Browser"})
                    holderFile(std::string("~/Library/Application Support/") + browser + "/NativeMessagingHosts/" + identifier + ".json");
            }
            if (i % 45 == 6)
                holderFile("/Library/Google/Chrome/NativeMessagingHosts/" + identifier + ".json");
        }
    }

    void addCrashReports(const AppPlan& plan)
    {
        const int i = plan.index;
        const std::string day = "2026-11-0" + std::to_string(1 + i % 9);
        const std::string& process = plan.processName();
        if (i % 4 == 0)
            crashReport("~/Library/Logs/DiagnosticReports/" + plan.product + "_" + day + "-101010_host.crash");
        if (i % 4 == 1)
            crashReport("~/Library/Logs/DiagnosticReports/" + process + "-" + day + "-101010.ips");
        if (i % 8 == 2)
            crashReport("~/Library/Logs/DiagnosticReports/" + process + "_" + day + "-101010_host.cpu_resource.diag");
        if (i % 16 == 6)
            crashReport("~/Library/Logs/DiagnosticReports/" + process + "_" + day + "-101010_host.spin");
        if (i % 16 == 14)
            crashReport("~/Library/Logs/DiagnosticReports/" + process + "-" + day + "-101010.hang");
        if (i % 12 == 7)
            crashReport("/Library/Logs/DiagnosticReports/" + process + "_" + day + "-101010_host.diag");
    }

    // A few applications taken to the Trash (one an older copy of an installed one) with what they
    // left in the Library.
    void addTrashedApps()
    {
        for (int n = 0; n < 4; ++n) {
            fixtures::AppBlueprint blueprint;
            const AppPlan copyOf = planApp(1, shape_.apps);
            blueprint.name = n == 3 ? copyOf.product + " old" : "Old Tool " + std::to_string(n);
            blueprint.identifier = n == 3 ? copyOf.identifier : "com.trashed.oldtool" + std::to_string(n);
            blueprint.executableBytes = 300000;
            for (int f = 0; f < 20; ++f)
                blueprint.files.emplace_back("Contents/Resources/file" + std::to_string(f), static_cast<std::int64_t>(random_() % 100000));
            tree_.addApp("~/.Trash", blueprint);
            ++counts_.trashedApps;
            if (n == 3)
                continue;
            libraryFolder(tree_.at("~/Library/Caches/" + blueprint.identifier), 3);
            libraryFile(tree_.at("~/Library/Preferences/" + blueprint.identifier + ".plist"));
            libraryFolder(tree_.at("~/Library/Application Support/" + blueprint.name), 2);
        }
    }

    // A tenth for applications that are no longer installed, and the system's own entries in the
    // shared places.
    void addStrays()
    {
        const std::int64_t strays = std::max<std::int64_t>(10, shape_.libraryEntries / 10);
        for (std::int64_t n = 0; n < strays / 5; ++n) {
            const std::string name = "com.gone" + std::to_string(n % 50) + ".tool" + std::to_string(n);
            libraryFolder(tree_.at("~/Library/Caches/" + name), 4);
            if (n % 10 == 0)
                holderFile(kRecents + name + (n % 20 == 0 ? ".sfl2" : ".sfl3"));
            if (n % 25 == 0)
                holderFolder("~/Library/Caches/com.crashlytics.data/" + name, 1);
            if (n % 30 == 0)
                holderFolder("~/Library/Caches/com.apple.nsurlsessiond/Downloads/" + name, 1);
        }
        for (const char* apple : {"com.apple.textedit", "com.apple.preview", "com.apple.quicktimeplayerx", "com.apple.dt.xcode",
                                  "com.apple.iwork.pages", "com.apple.iwork.numbers", "com.apple.finder", "com.apple.safari"}) {
            holderFile(kRecents + apple + ".sfl3");
            holderFolder(std::string("~/Library/Caches/com.apple.helpd/Generated/") + apple + ".help*12.0", 2);
        }
        for (const char* process : {"WindowServer", "JetsamEvent", "mds_stores", "Safari", "com.apple.WebKit.WebContent",
                                    "kernel_task", "mdworker_shared", "photoanalysisd"}) {
            for (int day = 1; day <= 4; ++day) {
                const std::string date = "2026-11-0" + std::to_string(day) + "-0" + std::to_string(day) + "1010";
                crashReport("~/Library/Logs/DiagnosticReports/" + std::string(process) + "-" + date + ".ips");
                if (day % 2 == 0)
                    crashReport("/Library/Logs/DiagnosticReports/" + std::string(process) + "_" + date + "_host.cpu_resource.diag");
            }
        }
        // Named by executables that several applications have: nobody's.
        libraryFolder(tree_.at("~/Library/Application Support/Electron"), 3);
        libraryFolder(tree_.at("~/Library/Caches/AppRunner"), 2);
        libraryFile(tree_.at("~/Library/Logs/Electron.log"));
        holderFile("~/Library/Application Support/Google/Chrome/NativeMessagingHosts/com.google.drive.nativeproxy.json");
        holderFolder("~/Library/CloudStorage/GoogleDrive-someone@example.com", 3);
    }

    fixtures::MacTree& tree_;
    const BenchTreeShape& shape_;
    BenchTreeCounts counts_;
    std::mt19937 random_{20261206};
    int filesPerApp_ = 0;
    int perPlace_ = 0;
};

}  // namespace

BenchTreeCounts buildBenchTree(fixtures::MacTree& tree, const BenchTreeShape& shape)
{
    return Builder(tree, shape).build();
}
