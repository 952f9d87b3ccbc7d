#include "demo/DemoTree.h"

#include "platform/PathUtil.h"
#include "platform/PropertyList.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace demo {
namespace {

using fixtures::AppBlueprint;
using fixtures::MacTree;
using Clock = std::chrono::system_clock;
using BundleFiles = std::vector<std::pair<std::string, std::int64_t>>;

constexpr std::int64_t KB = 1024;
constexpr std::int64_t MB = 1024 * KB;

// The machine name that crash reports carry.
constexpr const char* kHost = "studio-mac";

// One file below a folder: its path relative to the folder and its size (written sparse).
struct Entry {
    std::string name;
    std::int64_t bytes;
};
using Entries = std::vector<Entry>;

// A fixed time of day, `days` whole days before today (UTC), so that every build on the same day
// gives the same tree.
Clock::time_point daysAgo(int days, int hour = 10, int minute = 10)
{
    const auto today = std::chrono::floor<std::chrono::days>(Clock::now());
    return today - std::chrono::days(days) + std::chrono::hours(hour) + std::chrono::minutes(minute);
}

// UTC, so that names do not depend on the machine's time zone.
std::string formatTime(Clock::time_point when, const char* format)
{
    const std::time_t seconds = Clock::to_time_t(when);
    std::tm utc{};
    if (gmtime_r(&seconds, &utc) == nullptr)
        throw std::runtime_error("gmtime_r failed");
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, format, &utc);
    return std::string(text, length);
}

AppBlueprint makeBlueprint(std::string name, std::string identifier, std::string version, std::uint32_t iconColor)
{
    AppBlueprint appBlueprint;
    appBlueprint.name = std::move(name);
    appBlueprint.identifier = std::move(identifier);
    appBlueprint.version = std::move(version);
    appBlueprint.iconColor = iconColor;
    return appBlueprint;
}

// What most bundles carry besides their executable, plus `extra`.
BundleFiles standardContents(std::int64_t assetBytes, BundleFiles extra = {})
{
    BundleFiles files = {{"Contents/PkgInfo", 8},
                         {"Contents/_CodeSignature/CodeResources", 7 * KB},
                         {"Contents/Resources/Assets.car", assetBytes},
                         {"Contents/Resources/en.lproj/Localizable.strings", 18 * KB}};
    for (auto& file : extra)
        files.push_back(std::move(file));
    return files;
}

// Writes the leftovers of the applications: every path here is a Mac path ("~/Library/...",
// "/Library/...") resolved through the tree, except where a real path is named.
class Leftovers {
public:
    explicit Leftovers(const MacTree& tree) : tree_(tree) {}

    // The folder, made even when `entries` is empty, with its files written sparse.
    void folder(const std::string& macFolder, const Entries& entries) const
    {
        const std::string base = tree_.at(macFolder);
        tree_.makeDirectories(base);
        for (const auto& entry : entries)
            tree_.writeFileOfSize(base + "/" + entry.name, entry.bytes);
    }

    void text(const std::string& macPath, std::string_view contents) const
    {
        tree_.writeFile(tree_.at(macPath), contents);
    }

    void plistFile(const std::string& macPath, plist::Dictionary values,
                   plist::Format format = plist::Format::Binary) const
    {
        tree_.writePlist(tree_.at(macPath), plist::Value(std::move(values)), format);
    }

    // ~/Library/Preferences/<identifier>.plist, binary as the preferences daemon writes it.
    void preferences(const std::string& identifier, plist::Dictionary values) const
    {
        plistFile("~/Library/Preferences/" + identifier + ".plist", std::move(values));
    }

    // ~/Library/Saved Application State/<identifier>.savedState with one restorable window.
    void savedState(const std::string& identifier, const std::string& windowTitle, std::int64_t dataBytes) const
    {
        const std::string base = "~/Library/Saved Application State/" + identifier + ".savedState";
        folder(base, {{"data.data", dataBytes}});
        plist::Dictionary window{{"NSWindowID", 1}, {"NSTitle", windowTitle}, {"NSIsMainWindow", true}};
        plist::Array windows{plist::Value(std::move(window))};
        tree_.writePlist(tree_.at(base + "/windows.plist"), plist::Value(std::move(windows)), plist::Format::Binary);
        plistFile(base + "/restorecount.plist", {{"NSRestoreCount", 1}});
    }

    void cookies(const std::string& identifier, std::int64_t bytes) const
    {
        folder("~/Library/Cookies", {{identifier + ".binarycookies", bytes}});
    }

    // ~/Library/Logs/DiagnosticReports/<process>_<yyyy-mm-dd-hhmmss>_<host>.crash
    void crashReport(const std::string& process, const std::string& identifier, const std::string& version,
                     const std::string& macExecutable, int daysBack, int pid, const char* exception) const
    {
        const auto when = daysAgo(daysBack, 9 + pid % 8, pid % 60);
        const std::string name = process + "_" + formatTime(when, "%Y-%m-%d-%H%M%S") + "_" + kHost + ".crash";
        std::string report;
        report += "Process:               " + process + " [" + std::to_string(pid) + "]\n";
        report += "Path:                  " + macExecutable + "\n";
        report += "Identifier:            " + identifier + "\n";
        report += "Version:               " + version + " (" + version + ")\n";
        report += "Code Type:             ARM-64 (Native)\n";
        report += "Date/Time:             " + formatTime(when, "%Y-%m-%d %H:%M:%S.000 +0000") + "\n";
        report += "OS Version:            macOS 15.1 (24B83)\n\n";
        report += std::string("Exception Type:        ") + exception + "\n";
        report += "Termination Reason:    Namespace SIGNAL, Code 11 Segmentation fault: 11\n\n";
        report += "Thread 0 Crashed:: Dispatch queue: com.apple.main-thread\n";
        report += "0   " + process + "\t0x0000000102a4c8f0 0x102a00000 + 313584\n";
        report += "1   " + process + "\t0x0000000102a51e14 0x102a00000 + 335380\n";
        text("~/Library/Logs/DiagnosticReports/" + name, report);
    }

    // A log folder with a short current log as text and older rotated logs as filler.
    void logFolder(const std::string& macFolder, const std::string& process, const std::vector<std::string>& messages,
                   const Entries& rotated, int daysBack) const
    {
        const auto when = daysAgo(daysBack, 8, 40);
        std::string lines;
        int minute = 0;
        for (const auto& message : messages) {
            lines += formatTime(when + std::chrono::minutes(minute), "%Y-%m-%d %H:%M:%S") + " " + process +
                     "[" + std::to_string(400 + minute) + "] " + message + "\n";
            minute += 7;
        }
        text(macFolder + "/" + process + ".log", lines);
        folder(macFolder, rotated);
    }

    // ~/Library/Containers/<identifier>: the sandbox home of the application, with the links a real
    // container keeps back to the user's folders.
    void container(const std::string& identifier, const Entries& entries) const
    {
        const std::string base = "~/Library/Containers/" + identifier;
        plistFile(base + "/.com.apple.containermanagerd.metadata.plist",
                  {{"MCMMetadataIdentifier", identifier}, {"MCMMetadataContentClass", 2}, {"MCMMetadataVersion", 7}});
        folder(base + "/Data/Library/Preferences", {});
        folder(base, entries);
        for (const char* shared : {"Desktop", "Downloads"})
            tree_.symlink(std::string("../../../../") + shared, tree_.at(base + "/Data/" + shared));
    }

    void groupContainer(const std::string& identifier, const Entries& entries) const
    {
        folder("~/Library/Group Containers/group." + identifier, entries);
    }

    void webKit(const std::string& identifier, const Entries& entries) const
    {
        folder("~/Library/WebKit/" + identifier, entries);
    }

    // Below the per-user temporary folder (a real path, outside the home).
    void temporary(const std::string& name, const Entries& entries) const
    {
        writeBelow(tree_.temporaryDirectory() + name, entries);
    }

    // Below the per-user cache folder "C" that sits beside the temporary folder "T".
    void perUserCache(const std::string& name, const Entries& entries) const
    {
        const std::string tempFolder = platform::path::trimTrailingSlashes(tree_.temporaryDirectory());
        writeBelow(platform::path::deletingLastComponent(tempFolder) + "/C/" + name, entries);
    }

    // An executable script at a real path.
    void executable(const std::string& path, const std::string& script) const
    {
        tree_.writeFile(path, script);
        if (::chmod(path.c_str(), 0755) != 0)
            throw std::runtime_error("chmod " + path + ": " + std::strerror(errno));
    }

    // The program a launch job starts, inside the bundle:
    // <bundle>/Contents/Library/LaunchServices/<label>. Returns its real path.
    std::string helperTool(const std::string& bundle, const std::string& label, const std::string& owner) const
    {
        const std::string program = bundle + "/Contents/Library/LaunchServices/" + label;
        executable(program, "#!/bin/sh\n# " + label + ": background helper of " + owner + ".\nexec sleep 86400\n");
        return program;
    }

    // <macFolder>/<label>.plist, a launchd job that starts `program` (a real path).
    void launchJob(const std::string& macFolder, const std::string& label, const std::string& program,
                   bool keepAlive, std::vector<std::string> arguments = {}) const
    {
        plist::Array programArguments{plist::Value(program)};
        for (auto& argument : arguments)
            programArguments.emplace_back(std::move(argument));
        plist::Dictionary job{{"Label", label},
                              {"ProgramArguments", plist::Value(std::move(programArguments))},
                              {"RunAtLoad", true},
                              {"KeepAlive", keepAlive}};
        plistFile(macFolder + "/" + label + ".plist", std::move(job), plist::Format::Xml);
    }

private:
    void writeBelow(const std::string& base, const Entries& entries) const
    {
        tree_.makeDirectories(base);
        for (const auto& entry : entries)
            tree_.writeFileOfSize(base + "/" + entry.name, entry.bytes);
    }

    const MacTree& tree_;
};

// Lumenhaus: two applications that share the vendor folder ~/Library/Application Support/Lumenhaus,
// where the vendor's installer also left a font pack that belongs to neither.
void addLumenhaus(MacTree& tree, const Leftovers& left)
{
    AppBlueprint notes = makeBlueprint("Lumen Notes", "com.lumenhaus.notes", "4.2.1", 0xF2C14E);
    notes.localizedNames = {{"en", "Lumen Notes"}, {"de", "Lumen Notizen"}, {"fr", "Notes Lumen"}};
    notes.lastUsed = daysAgo(2);
    notes.executableBytes = 6 * MB + 320 * KB;
    notes.files = standardContents(3 * MB + 200 * KB,
                                   {{"Contents/Frameworks/LumenKit.framework/Versions/A/LumenKit", 14 * MB},
                                    {"Contents/Resources/de.lproj/Localizable.strings", 21 * KB},
                                    {"Contents/Resources/fr.lproj/Localizable.strings", 22 * KB}});
    const std::string notesBundle = tree.addApp("/Applications", notes);
    const std::string notesHelper = left.helperTool(notesBundle, "com.lumenhaus.notes.helper", "Lumen Notes");
    left.launchJob("~/Library/LaunchAgents", "com.lumenhaus.notes.helper", notesHelper, false, {"--sync"});
    left.folder("~/Library/Application Support/Lumenhaus/Lumen Notes",
                {{"Notes.sqlite", 8 * MB + 512 * KB},
                 {"Notes.sqlite-wal", 1 * MB + 200 * KB},
                 {"Notes.sqlite-shm", 32 * KB},
                 {"Attachments/3F2A/scan-0001.pdf", 2 * MB + 300 * KB},
                 {"Attachments/7C11/whiteboard.heic", 1 * MB + 700 * KB},
                 {"Attachments/9B04/recipe.png", 640 * KB}});
    left.folder("~/Library/Caches/com.lumenhaus.notes",
                {{"Cache.db", 2 * MB + 400 * KB},
                 {"Cache.db-wal", 380 * KB},
                 {"fsCachedData/0A6E1D2C-5B8F-4E3A-9C71-2D4F6B8A1E03", 220 * KB},
                 {"fsCachedData/5C3B9E70-1F2D-4A86-B0E4-7D9C2A6F8B15", 96 * KB}});
    left.preferences("com.lumenhaus.notes", {{"NSWindow Frame MainWindow", "112 205 1280 820 0 0 1728 1079 "},
                                             {"LastLaunchedVersion", "4.2.1"},
                                             {"SyncEnabled", true},
                                             {"EditorFontSize", 15}});
    left.savedState("com.lumenhaus.notes", "Lumen Notes", 148 * KB);
    left.webKit("com.lumenhaus.notes", {{"WebsiteData/LocalStorage/https_sync.lumenhaus.example_0.localstorage", 64 * KB},
                                        {"WebsiteData/IndexedDB/v1/https_sync.lumenhaus.example_0/IndexedDB.sqlite3",
                                         1 * MB + 100 * KB}});
    left.crashReport("Lumen Notes", "com.lumenhaus.notes", "4.2.1", "/Applications/Lumen Notes.app/Contents/MacOS/Lumen Notes",
                     16, 812, "EXC_BAD_ACCESS (SIGSEGV)");

    AppBlueprint sketch = makeBlueprint("Lumen Sketch", "com.lumenhaus.sketch", "2.0.3", 0xE0604A);
    sketch.binaryInfoPlist = true;
    sketch.lastUsed = daysAgo(210);
    sketch.executableBytes = 9 * MB;
    sketch.files = standardContents(22 * MB, {{"Contents/PlugIns/Export.plugin/Contents/MacOS/Export", 1 * MB + 100 * KB}});
    tree.addApp("/Applications", sketch);
    left.folder("~/Library/Application Support/Lumenhaus/Lumen Sketch",
                {{"Brushes/Ink.brush", 180 * KB},
                 {"Brushes/Charcoal.brush", 210 * KB},
                 {"Brushes/Watercolor.brush", 260 * KB},
                 {"Documents.index", 44 * KB}});
    left.folder("~/Library/Caches/com.lumenhaus.sketch",
                {{"Thumbnails/canvas-01.png", 310 * KB}, {"Thumbnails/canvas-02.png", 290 * KB}, {"Thumbnails/canvas-03.png", 350 * KB}});
    left.preferences("com.lumenhaus.sketch", {{"LastLaunchedVersion", "2.0.3"}, {"PressureCurve", 0.65}, {"ShowRulers", false}});
    left.logFolder("~/Library/Logs/Lumen Sketch", "Lumen Sketch",
                   {"Canvas engine started (Metal)", "Loaded 3 brush sets", "Autosave to ~/Documents/Sketches"},
                   {{"Lumen Sketch.1.log", 120 * KB}, {"Lumen Sketch.2.log", 240 * KB}}, 210);

    left.folder("~/Library/Application Support/Lumenhaus/Lumen Fonts",
                {{"Fonts/LumenSans-Regular.otf", 180 * KB}, {"Fonts/LumenSans-Bold.otf", 184 * KB}, {"license.txt", 3 * KB}});
}

// Inkvale: an application named with a plus sign whose executable is named without it.
void addInkvale(MacTree& tree, const Leftovers& left)
{
    AppBlueprint draftly = makeBlueprint("Draftly+", "com.inkvale.draftly", "3.8", 0x7B4BD8);
    draftly.executable = "Draftly";
    draftly.lastUsed = daysAgo(12);
    draftly.executableBytes = 11 * MB + 600 * KB;
    draftly.files = standardContents(8 * MB, {{"Contents/Frameworks/InkvaleRender.framework/Versions/A/InkvaleRender", 12 * MB},
                                              {"Contents/PlugIns/DraftlyPreview.appex/Contents/MacOS/DraftlyPreview", 420 * KB}});
    tree.addApp("/Applications", draftly);
    left.folder("~/Library/Application Support/Draftly+",
                {{"Libraries/Default.draftlib", 3 * MB},
                 {"Libraries/Icons.draftlib", 1 * MB + 400 * KB},
                 {"Plugins/Grid Tools.draftplugin", 230 * KB},
                 {"Plugins/Color Harmony.draftplugin", 190 * KB},
                 {"recent-files.json", 6 * KB}});
    left.folder("~/Library/Caches/com.inkvale.draftly", {{"Cache.db", 1 * MB + 300 * KB}, {"Previews/doc-7781.png", 420 * KB}});
    left.preferences("com.inkvale.draftly",
                     {{"LastLaunchedVersion", "3.8"}, {"AccountEmail", "studio@draftly.example"}, {"SnapToGrid", true}});
    left.cookies("com.inkvale.draftly", 12 * KB);
    left.savedState("com.inkvale.draftly", "Untitled Drawing", 210 * KB);
    const std::string executable = "/Applications/Draftly+.app/Contents/MacOS/Draftly";
    left.crashReport("Draftly", "com.inkvale.draftly", "3.7", executable, 48, 1290, "EXC_CRASH (SIGABRT)");
    left.crashReport("Draftly", "com.inkvale.draftly", "3.8", executable, 11, 2307, "EXC_BAD_ACCESS (SIGSEGV)");
}

// Tidewater Labs: a sandboxed mail application, its data in its container and group container.
void addTidewater(MacTree& tree, const Leftovers& left)
{
    AppBlueprint post = makeBlueprint("Harbor Post", "com.tidewaterlabs.harborpost", "5.1", 0x2E86AB);
    post.binaryInfoPlist = true;
    post.lastUsed = daysAgo(1);
    post.executableBytes = 7 * MB + 800 * KB;
    post.files = standardContents(5 * MB, {{"Contents/Frameworks/HarborCore.framework/Versions/A/HarborCore", 9 * MB},
                                           {"Contents/PlugIns/HarborPostShare.appex/Contents/MacOS/HarborPostShare", 600 * KB}});
    tree.addApp("/Applications", post);
    const std::string id = "com.tidewaterlabs.harborpost";
    left.container(id, {{"Data/Library/Application Support/Harbor Post/Mailboxes/INBOX.mbox/messages.db", 24 * MB},
                        {"Data/Library/Application Support/Harbor Post/Mailboxes/Archive.mbox/messages.db", 41 * MB},
                        {"Data/Library/Application Support/Harbor Post/Mailboxes/Sent.mbox/messages.db", 6 * MB},
                        {"Data/Library/Caches/" + id + "/Cache.db", 1 * MB + 200 * KB},
                        {"Data/tmp/attachment-4471.tmp", 300 * KB}});
    left.plistFile("~/Library/Containers/" + id + "/Data/Library/Preferences/" + id + ".plist",
                   {{"LastLaunchedVersion", "5.1"}, {"CheckInterval", 5}, {"ShowUnreadBadge", true}});
    left.groupContainer(id, {{"Library/Application Support/Shared.sqlite", 2 * MB}, {"Library/Caches/Widgets/unread.json", 4 * KB}});
    left.savedState(id, "Inbox", 96 * KB);
    left.crashReport("Harbor Post", id, "5.0.2", "/Applications/Harbor Post.app/Contents/MacOS/Harbor Post", 33, 611,
                     "EXC_BAD_ACCESS (SIGBUS)");
}

// Meridian Soft: localised names and a binary Info.plist; never opened on this Mac.
void addMeridian(MacTree& tree, const Leftovers& left)
{
    AppBlueprint planner = makeBlueprint("Orbit Planner", "com.meridiansoft.orbitplanner", "7.4", 0x3FA34D);
    planner.binaryInfoPlist = true;
    planner.localizedNames = {{"de", "Orbit Planer"}, {"fr", "Planificateur Orbit"}};
    planner.executableBytes = 4 * MB + 100 * KB;
    planner.files = standardContents(2 * MB + 600 * KB, {{"Contents/Resources/Templates/Sprint.orbittemplate", 140 * KB},
                                                         {"Contents/Resources/Templates/Roadmap.orbittemplate", 160 * KB}});
    tree.addApp("/Applications", planner);
    left.folder("~/Library/Application Support/Orbit Planner",
                {{"Projects.sqlite", 3 * MB + 400 * KB}, {"Templates/Team Offsite.orbittemplate", 90 * KB}, {"Backups/Projects-1.sqlite", 3 * MB}});
    left.folder("~/Library/Caches/com.meridiansoft.orbitplanner", {{"Cache.db", 512 * KB}});
    left.preferences("com.meridiansoft.orbitplanner", {{"FirstWeekday", 2}, {"ShowCompletedTasks", false}});
    left.folder("/Library/Application Support/Orbit Planner", {{"License/site.license", 2 * KB}});
}

// Fjordline: a VPN client whose privileged helper runs as a launch daemon.
void addFjordline(MacTree& tree, const Leftovers& left)
{
    AppBlueprint vpn = makeBlueprint("Fjordline VPN", "com.fjordline.vpn", "2.12", 0x1B998B);
    vpn.lastUsed = daysAgo(40);
    vpn.executableBytes = 5 * MB + 200 * KB;
    vpn.files = standardContents(1 * MB + 800 * KB, {{"Contents/Frameworks/FjordTunnel.framework/Versions/A/FjordTunnel", 3 * MB}});
    const std::string bundle = tree.addApp("/Applications", vpn);
    const std::string helper = left.helperTool(bundle, "com.fjordline.vpn.helper", "Fjordline VPN");
    left.launchJob("/Library/LaunchDaemons", "com.fjordline.vpn.helper", helper, true);
    left.folder("/Library/Application Support/Fjordline VPN",
                {{"tunnels/oslo-1.conf", 2 * KB}, {"tunnels/bergen-2.conf", 2 * KB}, {"helper.state", 8 * KB}});
    left.logFolder("/Library/Logs/Fjordline VPN", "helper",
                   {"Helper started (version 2.12)", "Tunnel oslo-1 up", "Tunnel oslo-1 down: user request"},
                   {{"helper.1.log", 512 * KB}, {"helper.2.log", 1 * MB}}, 40);
    left.folder("~/Library/Caches/com.fjordline.vpn", {{"servers.json", 48 * KB}});
    left.preferences("com.fjordline.vpn", {{"LastServer", "oslo-1"}, {"KillSwitch", true}});
}

// Moorfield: a large image editor with big caches in the user, system and temporary folders.
void addMoorfield(MacTree& tree, const Leftovers& left)
{
    AppBlueprint studio = makeBlueprint("Pixelmoor Studio", "com.moorfield.pixelmoor", "11.0.4", 0x9C27B0);
    studio.lastUsed = daysAgo(150);
    studio.executableBytes = 18 * MB;
    studio.files = standardContents(24 * MB, {{"Contents/Frameworks/MoorImaging.framework/Versions/A/MoorImaging", 16 * MB},
                                              {"Contents/PlugIns/RAW.pmplugin/Contents/MacOS/RAW", 2 * MB + 400 * KB}});
    tree.addApp("/Applications", studio);
    const std::string id = "com.moorfield.pixelmoor";
    left.folder("~/Library/Application Support/Moorfield/Pixelmoor Studio",
                {{"Presets/Film Look.pmpreset", 24 * KB},
                 {"Presets/Mono High Key.pmpreset", 22 * KB},
                 {"Plugins/Halftone.pmplugin", 780 * KB},
                 {"Catalog.pmcatalog", 9 * MB}});
    left.folder("~/Library/Caches/" + id, {{"Previews.db", 85 * MB}, {"Thumbnails.db", 12 * MB}});
    left.folder("/Library/Caches/" + id, {{"ShaderCache/metal-0.bin", 3 * MB}, {"ShaderCache/metal-1.bin", 2 * MB}});
    left.temporary(id, {{"Scratch/scratch-0001.pmtmp", 40 * MB}, {"Scratch/scratch-0002.pmtmp", 18 * MB}});
    left.preferences(id, {{"ScratchDiskLimitGB", 20}, {"LastLaunchedVersion", "11.0.4"}, {"GPUAcceleration", true}});
    left.savedState(id, "harbour-sunset.pmdoc", 330 * KB);
    left.crashReport("Pixelmoor Studio", id, "11.0.4", "/Applications/Pixelmoor Studio.app/Contents/MacOS/Pixelmoor Studio",
                     152, 3344, "EXC_RESOURCE (RESOURCE_TYPE_MEMORY)");
}

// Kestrel Soft: a browser with a helper application inside Contents/MacOS, and an alias of it on
// the Desktop.
void addKestrel(MacTree& tree, const Leftovers& left)
{
    AppBlueprint browser = makeBlueprint("Kestrel Browser", "com.kestrelsoft.browser", "128.0.2", 0xFF7043);
    browser.lastUsed = daysAgo(1, 18, 5);
    browser.executableBytes = 2 * MB;
    browser.files = standardContents(6 * MB, {{"Contents/Frameworks/Kestrel Engine.framework/Versions/A/Kestrel Engine", 38 * MB}});
    const std::string bundle = tree.addApp("/Applications", browser);

    AppBlueprint helper = makeBlueprint("Kestrel Browser Helper", "com.kestrelsoft.browser.helper", "128.0.2", 0);
    helper.iconColor = std::nullopt;
    helper.executableBytes = 310 * KB;
    helper.files = {{"Contents/PkgInfo", 8}};
    tree.addApp("/Applications/Kestrel Browser.app/Contents/MacOS", helper);
    tree.symlink(bundle, tree.at("~/Desktop/Kestrel Browser.app"));

    const std::string id = "com.kestrelsoft.browser";
    left.folder("~/Library/Application Support/Kestrel Browser",
                {{"Default/History", 6 * MB},
                 {"Default/Favicons", 2 * MB},
                 {"Default/Bookmarks", 120 * KB},
                 {"Default/Local Storage/leveldb/000003.log", 900 * KB},
                 {"Default/Extensions/adblock/manifest.json", 3 * KB},
                 {"Local State", 40 * KB}});
    left.folder("~/Library/Caches/Kestrel Browser", {{"Default/Cache/Cache_Data/data_0", 8 * MB}, {"Default/Cache/Cache_Data/data_1", 12 * MB}});
    left.folder("~/Library/Caches/" + id, {{"Cache.db", 700 * KB}});
    left.cookies(id, 64 * KB);
    left.webKit(id, {{"WebsiteData/LocalStorage/https_www.example.org_0.localstorage", 48 * KB},
                     {"WebsiteData/ResourceLoadStatistics/observations.db", 260 * KB}});
    left.savedState(id, "New Tab", 520 * KB);
    left.temporary(id, {{"Downloads/partial-8812.download", 14 * MB}});
    left.perUserCache(id, {{"com.apple.metal/shaders.data", 4 * MB}});
    left.preferences(id, {{"DefaultSearchEngine", "Kestrel Search"}, {"LastLaunchedVersion", "128.0.2"}, {"RestoreTabs", true}});
    // Named after the helper application: found through the nested bundle, not through the browser.
    left.logFolder("~/Library/Logs/Kestrel Browser Helper", "Kestrel Browser Helper",
                   {"Renderer process 2231 started", "GPU process restarted after 1 failure"}, {{"renderer-crashes.log", 64 * KB}}, 1);
}

// Bindery Works: a sandboxed reader installed for this user only, in ~/Applications.
void addBindery(MacTree& tree, const Leftovers& left)
{
    AppBlueprint reader = makeBlueprint("Quire Reader", "com.binderyworks.quire", "3.2", 0x8D6E63);
    reader.localizedNames = {{"en", "Quire Reader"}, {"fr", "Lecteur Quire"}};
    reader.lastUsed = daysAgo(95);
    reader.executableBytes = 3 * MB + 300 * KB;
    reader.files = standardContents(4 * MB, {{"Contents/Resources/fr.lproj/Localizable.strings", 19 * KB}});
    tree.addApp("~/Applications", reader);
    const std::string id = "com.binderyworks.quire";
    left.container(id, {{"Data/Library/Application Support/Quire Reader/Library.sqlite", 1 * MB + 600 * KB},
                        {"Data/Documents/Books/The Long Field.epub", 2 * MB + 100 * KB},
                        {"Data/Documents/Books/Salt and Stone.epub", 3 * MB + 400 * KB},
                        {"Data/Library/Caches/Covers/cover-0001.jpg", 180 * KB}});
    left.plistFile("~/Library/Containers/" + id + "/Data/Library/Preferences/" + id + ".plist",
                   {{"ReaderTheme", "sepia"}, {"FontScale", 1.2}});
    left.groupContainer(id, {{"Library/Application Support/Highlights.sqlite", 400 * KB}});
    const std::string macHome = "/Users/" + platform::path::lastComponent(tree.home());
    left.crashReport("Quire Reader", id, "3.1", macHome + "/Applications/Quire Reader.app/Contents/MacOS/Quire Reader", 101,
                     1733, "EXC_BAD_ACCESS (SIGSEGV)");
}

// Sonora Audio: a small tool still in the Downloads folder beside the archive it came in.
void addSonora(MacTree& tree, const Leftovers& left)
{
    AppBlueprint tuner = makeBlueprint("Sonora Tuner", "com.sonoraaudio.tuner", "1.6", 0x00897B);
    tuner.lastUsed = daysAgo(5);
    tuner.executableBytes = 1 * MB + 200 * KB;
    tuner.files = standardContents(300 * KB);
    tree.addApp("~/Downloads", tuner);
    left.folder("~/Downloads", {{"Sonora Tuner 1.6.zip", 1 * MB + 400 * KB}});
    left.folder("~/Library/Application Support/Sonora Tuner", {{"Presets/Guitar Standard.tuning", 1 * KB}, {"Presets/Drop D.tuning", 1 * KB}});
    left.folder("~/Library/Caches/com.sonoraaudio.tuner", {{"waveforms.cache", 220 * KB}});
    left.preferences("com.sonoraaudio.tuner", {{"ReferencePitch", 440}, {"InputDevice", "Built-in Microphone"}});
}

// Cordwain: a sync client with a login-item application inside its bundle and a launch agent.
void addCordwain(MacTree& tree, const Leftovers& left)
{
    AppBlueprint sync = makeBlueprint("Relay Sync", "com.cordwain.relaysync", "6.0.1", 0x5C6BC0);
    sync.binaryInfoPlist = true;
    sync.lastUsed = daysAgo(20);
    sync.executableBytes = 8 * MB;
    sync.files = standardContents(3 * MB, {{"Contents/Frameworks/RelayCore.framework/Versions/A/RelayCore", 7 * MB}});
    const std::string bundle = tree.addApp("/Applications", sync);

    AppBlueprint launcher = makeBlueprint("Relay Sync Launcher", "com.cordwain.relaysync.launcher", "6.0.1", 0x5C6BC0);
    launcher.executableBytes = 180 * KB;
    tree.addApp("/Applications/Relay Sync.app/Contents/Library/LoginItems", launcher);

    const std::string id = "com.cordwain.relaysync";
    const std::string helper = left.helperTool(bundle, id + ".helper", "Relay Sync");
    left.launchJob("~/Library/LaunchAgents", id + ".helper", helper, true, {"--watch"});
    left.folder("~/Library/Application Support/Relay Sync",
                {{"state.db", 4 * MB}, {"journal/000112.jrnl", 600 * KB}, {"journal/000113.jrnl", 240 * KB}, {"accounts.json", 2 * KB}});
    left.logFolder("~/Library/Logs/Relay Sync", "Relay Sync",
                   {"Watching ~/Relay", "Uploaded 14 files (3.1 MB)", "Conflict resolved: Budget.numbers"},
                   {{"Relay Sync.1.log", 2 * MB}, {"Relay Sync.2.log", 2 * MB}}, 20);
    left.folder("~/Library/Caches/" + id, {{"chunks/0001.chunk", 4 * MB}, {"chunks/0002.chunk", 4 * MB}});
    left.groupContainer(id, {{"Library/Application Support/FinderSync.sqlite", 300 * KB}});
    left.preferences(id, {{"SyncFolder", "~/Relay"}, {"PauseOnBattery", true}});
}

// Tessel Works: a suite folder in /Applications, one application two levels down and one three
// levels down, sharing a vendor folder whose name has a space.
void addTessel(MacTree& tree, const Leftovers& left)
{
    AppBlueprint studio = makeBlueprint("Tessel Studio", "com.tesselworks.studio", "9.3", 0xC0CA33);
    studio.lastUsed = daysAgo(400);
    studio.executableBytes = 12 * MB;
    studio.files = standardContents(14 * MB, {{"Contents/Frameworks/TesselMesh.framework/Versions/A/TesselMesh", 9 * MB}});
    tree.addApp("/Applications/Tessel Studio", studio);

    AppBlueprint batch = makeBlueprint("Tessel Batch", "com.tesselworks.batch", "9.3", 0xAFB42B);
    batch.binaryInfoPlist = true;
    batch.executableBytes = 900 * KB;
    batch.files = standardContents(120 * KB);
    tree.addApp("/Applications/Tessel Studio/Extras", batch);
    left.folder("/Applications/Tessel Studio", {{"Read Me.rtf", 14 * KB}});

    left.folder("~/Library/Application Support/Tessel Works/Tessel Studio",
                {{"Materials/Brushed Steel.tmat", 2 * MB}, {"Materials/Oak.tmat", 3 * MB}, {"recent.db", 64 * KB}});
    left.folder("~/Library/Application Support/Tessel Works/Tessel Batch", {{"queue.db", 48 * KB}});
    left.folder("/Users/Shared/Tessel Studio", {{"Sample Projects/Teapot.tessel", 6 * MB}, {"Sample Projects/Bridge.tessel", 11 * MB}});
    left.preferences("com.tesselworks.studio", {{"Units", "mm"}, {"Antialiasing", 4}});
    left.preferences("com.tesselworks.batch", {{"ParallelJobs", 2}});
}

// Abacus Grove: a sandboxed finance application with a German name.
void addAbacus(MacTree& tree, const Leftovers& left)
{
    AppBlueprint ledgerly = makeBlueprint("Ledgerly", "com.abacusgrove.ledgerly", "2.9", 0x43A047);
    ledgerly.binaryInfoPlist = true;
    ledgerly.localizedNames = {{"en", "Ledgerly"}, {"de", "Ledgerly Haushaltsbuch"}};
    ledgerly.lastUsed = daysAgo(60);
    ledgerly.executableBytes = 5 * MB;
    ledgerly.files = standardContents(2 * MB);
    tree.addApp("/Applications", ledgerly);
    const std::string id = "com.abacusgrove.ledgerly";
    left.container(id, {{"Data/Library/Application Support/Ledgerly/Household.ledger", 1 * MB + 300 * KB},
                        {"Data/Library/Application Support/Ledgerly/Receipts/2026-11.zip", 2 * MB}});
    left.plistFile("~/Library/Containers/" + id + "/Data/Library/Preferences/" + id + ".plist",
                   {{"Currency", "EUR"}, {"LockAfterMinutes", 5}});
    left.groupContainer(id, {{"Library/Caches/Widget/balance.json", 2 * KB}});
    left.crashReport("Ledgerly", id, "2.8", "/Applications/Ledgerly.app/Contents/MacOS/Ledgerly", 75, 977, "EXC_CRASH (SIGABRT)");
}

// Alderpoint: a menu-bar timer whose executable name differs from the application name.
void addAlderpoint(MacTree& tree, const Leftovers& left)
{
    AppBlueprint timer = makeBlueprint("Timberline Timer", "com.alderpoint.timberline", "1.14", 0x6D4C41);
    timer.executable = "Timberline";
    timer.lastUsed = daysAgo(8);
    timer.executableBytes = 2 * MB + 300 * KB;
    timer.files = standardContents(600 * KB);
    const std::string bundle = tree.addApp("/Applications", timer);
    const std::string id = "com.alderpoint.timberline";
    const std::string helper = left.helperTool(bundle, id + ".helper", "Timberline Timer");
    left.launchJob("~/Library/LaunchAgents", id + ".helper", helper, false);
    left.folder("~/Library/Application Support/Timberline Timer", {{"sessions.json", 180 * KB}, {"Exports/November.csv", 22 * KB}});
    left.folder("~/Library/Caches/" + id, {{"Cache.db", 128 * KB}});
    left.preferences(id, {{"DefaultDurationMinutes", 25}, {"PlaySound", true}});
}

// Serifa: a font editor with a system-wide font library and shared projects; never opened.
void addSerifa(MacTree& tree, const Leftovers& left)
{
    AppBlueprint glyphsmith = makeBlueprint("Glyphsmith", "com.serifa.glyphsmith", "4.0", 0x212121);
    glyphsmith.executableBytes = 10 * MB;
    glyphsmith.files = standardContents(17 * MB);
    tree.addApp("/Applications", glyphsmith);
    left.folder("/Library/Application Support/Glyphsmith",
                {{"Font Library/Serifa Text.glyphs", 4 * MB}, {"Font Library/Serifa Display.glyphs", 5 * MB}});
    left.folder("~/Library/Application Support/Glyphsmith", {{"Projects/Logo Type.glyphs", 800 * KB}, {"Scripts/kerning.py", 9 * KB}});
    left.folder("/Users/Shared/Glyphsmith", {{"Team Library/Shared Components.glyphs", 2 * MB}});
    left.preferences("com.serifa.glyphsmith", {{"UnitsPerEm", 1000}, {"ShowMetrics", true}});
    left.logFolder("~/Library/Logs/Glyphsmith", "Glyphsmith", {"Font export finished: Serifa Text (12 styles)"},
                   {{"export.log", 96 * KB}}, 130);
}

// Brinewood: a terminal application with logs in the user's and the system's log folders.
void addBrinewood(MacTree& tree, const Leftovers& left)
{
    AppBlueprint console = makeBlueprint("Brinewood Console", "com.brinewood.console", "3.3.7", 0x263238);
    console.lastUsed = daysAgo(120);
    console.executableBytes = 4 * MB;
    console.files = standardContents(900 * KB);
    tree.addApp("/Applications", console);
    const std::string id = "com.brinewood.console";
    left.folder("~/Library/Application Support/Brinewood Console", {{"Profiles/Default.profile", 4 * KB}, {"history.db", 1 * MB}});
    left.logFolder("~/Library/Logs/Brinewood Console", "Brinewood Console",
                   {"Session 1 opened (zsh)", "Session 1 closed (exit 0)"}, {{"sessions.1.log", 800 * KB}}, 120);
    left.text("/Library/Logs/Brinewood Console.log", "Brinewood Console installer: shell integration installed\n");
    left.savedState(id, "Default — zsh — 120×32", 64 * KB);
    left.preferences(id, {{"Font", "Menlo 13"}, {"CursorBlink", false}});
}

// Asterline: a diagram editor with French and German names and web content.
void addAsterline(MacTree& tree, const Leftovers& left)
{
    AppBlueprint diagram = makeBlueprint("Aster Diagram", "com.asterline.diagram", "5.2", 0x00ACC1);
    diagram.binaryInfoPlist = true;
    diagram.localizedNames = {{"en", "Aster Diagram"}, {"de", "Aster Diagramm"}, {"fr", "Diagramme Aster"}};
    diagram.lastUsed = daysAgo(30);
    diagram.executableBytes = 7 * MB;
    diagram.files = standardContents(5 * MB, {{"Contents/Resources/Shapes/Network.astershapes", 800 * KB},
                                              {"Contents/Resources/Shapes/Flowchart.astershapes", 600 * KB}});
    tree.addApp("/Applications", diagram);
    const std::string id = "com.asterline.diagram";
    left.folder("~/Library/Application Support/Aster Diagram", {{"Stencils/Custom.astershapes", 300 * KB}, {"Recent.db", 32 * KB}});
    left.folder("~/Library/Caches/" + id, {{"Renders/page-1.png", 400 * KB}, {"Renders/page-2.png", 380 * KB}});
    left.preferences(id, {{"GridSize", 8}, {"ExportFormat", "pdf"}});
    left.webKit(id, {{"WebsiteData/LocalStorage/https_cloud.asterline.example_0.localstorage", 32 * KB}});
    left.cookies(id, 6 * KB);
}

// Tintwell: a tiny colour picker with hardly anything besides its preferences.
void addTintwell(MacTree& tree, const Leftovers& left)
{
    AppBlueprint huebox = makeBlueprint("Huebox", "com.tintwell.huebox", "1.0.2", 0xEC407A);
    huebox.executableBytes = 48 * KB;
    huebox.files = {{"Contents/PkgInfo", 8}, {"Contents/_CodeSignature/CodeResources", 3 * KB}, {"Contents/Resources/Assets.car", 36 * KB}};
    tree.addApp("/Applications", huebox);
    left.preferences("com.tintwell.huebox", {{"LastColor", "#EC407A"}, {"Format", "hex"}});
    left.savedState("com.tintwell.huebox", "Huebox", 12 * KB);
}

// Riverbank Data: a backup tool with a launch daemon and a launch agent, both started from its
// bundle, and data in the system domain below the vendor folder.
void addRiverbank(MacTree& tree, const Leftovers& left)
{
    AppBlueprint backup = makeBlueprint("Otter Backup", "com.riverbankdata.otterbackup", "8.1", 0x0277BD);
    backup.lastUsed = daysAgo(300);
    backup.executableBytes = 6 * MB;
    backup.files = standardContents(2 * MB, {{"Contents/Frameworks/OtterCrypto.framework/Versions/A/OtterCrypto", 2 * MB + 500 * KB}});
    const std::string bundle = tree.addApp("/Applications", backup);
    const std::string id = "com.riverbankdata.otterbackup";
    left.launchJob("/Library/LaunchDaemons", id + ".helper", left.helperTool(bundle, id + ".helper", "Otter Backup"), true);
    left.launchJob("~/Library/LaunchAgents", id + ".agent", left.helperTool(bundle, id + ".agent", "Otter Backup"), false,
                   {"--notify"});
    left.folder("/Library/Application Support/Riverbank Data/Otter Backup",
                {{"catalog.db", 18 * MB}, {"catalog.db-wal", 2 * MB}, {"schedules.plist", 2 * KB}});
    left.logFolder("/Library/Logs/Otter Backup", "otterbackupd",
                   {"Backup started: Macintosh HD", "Backup finished: 1 204 files, 2.4 GB"},
                   {{"otterbackupd.1.log", 3 * MB}, {"otterbackupd.2.log", 3 * MB}}, 300);
    left.folder("/Library/Caches/" + id, {{"index.cache", 5 * MB}});
    left.folder("~/Library/Caches/" + id, {{"Cache.db", 256 * KB}});
    left.preferences(id, {{"Destination", "/Volumes/Backup"}, {"Encrypt", true}});
}

// Nimbostrata: a sandboxed weather application with a short executable name and a widget.
void addNimbostrata(MacTree& tree, const Leftovers& left)
{
    AppBlueprint weather = makeBlueprint("Morrow Weather", "com.nimbostrata.morrow", "4.7", 0x29B6F6);
    weather.executable = "Morrow";
    weather.localizedNames = {{"en", "Morrow Weather"}, {"de", "Morrow Wetter"}, {"fr", "Morrow Météo"}};
    weather.lastUsed = daysAgo(15);
    weather.executableBytes = 3 * MB;
    weather.files = standardContents(7 * MB, {{"Contents/PlugIns/MorrowWidget.appex/Contents/MacOS/MorrowWidget", 900 * KB}});
    tree.addApp("/Applications", weather);
    const std::string id = "com.nimbostrata.morrow";
    left.container(id, {{"Data/Library/Caches/" + id + "/Radar/frame-01.png", 600 * KB},
                        {"Data/Library/Caches/" + id + "/Radar/frame-02.png", 600 * KB},
                        {"Data/Library/Application Support/Morrow/locations.json", 3 * KB}});
    left.plistFile("~/Library/Containers/" + id + "/Data/Library/Preferences/" + id + ".plist",
                   {{"TemperatureUnit", "C"}, {"ShowRadar", true}});
    left.groupContainer(id, {{"Library/Caches/Widget/forecast.json", 14 * KB}});
    left.crashReport("Morrow", id, "4.7", "/Applications/Morrow Weather.app/Contents/MacOS/Morrow", 15, 2718,
                     "EXC_BREAKPOINT (SIGTRAP)");
}

// Bundles the application walk must leave out.
void addTraps(MacTree& tree, const Leftovers& left)
{
    // A system application: filtered out by its identifier.
    AppBlueprint apple = makeBlueprint("Pixel Loupe", "com.apple.PixelLoupe", "6.1", 0x9E9E9E);
    apple.executableBytes = 700 * KB;
    tree.addApp("/Applications/Utilities", apple);
    left.preferences("com.apple.PixelLoupe", {{"Aperture", 3}});

    // Four levels below /Applications: deeper than the walk goes.
    AppBlueprint deep = makeBlueprint("Wavecrest Sampler", "com.wavecrest.sampler", "0.9", 0xFFB300);
    deep.executableBytes = 2 * MB;
    tree.addApp("/Applications/Tools/Legacy/Archive", deep);

    // A package that is not an application, with an application inside that must stay unseen.
    const std::string assets = tree.at("/Applications/Game Assets.bundle");
    tree.writePlist(assets + "/Contents/Info.plist",
                    plist::Value(plist::Dictionary{{"CFBundleIdentifier", "com.gildedkeep.gameassets"},
                                                   {"CFBundleName", "Game Assets"},
                                                   {"CFBundlePackageType", "BNDL"}}));
    left.folder("/Applications/Game Assets.bundle/Contents/Resources", {{"Textures.pak", 34 * MB}, {"Audio.pak", 21 * MB}});
    AppBlueprint editor = makeBlueprint("Level Editor", "com.gildedkeep.leveleditor", "1.2", 0x795548);
    tree.addApp("/Applications/Game Assets.bundle/Contents/Tools", editor);
}

// Files of other vendors whose applications are not installed: nothing listed may claim them.
void addUnrelated(const MacTree& tree, const Leftovers& left)
{
    const std::string mail = "com.fernbrook.mail";
    left.folder("~/Library/Application Support/Fernbrook Mail",
                {{"Mailboxes/INBOX.fbox", 12 * MB}, {"Attachments/statement-2026-09.pdf", 400 * KB}});
    const std::string agent = tree.at("~/Library/Application Support/Fernbrook Mail/fernbrook-sync");
    left.executable(agent, "#!/bin/sh\n# Mail synchronisation agent.\nexec sleep 86400\n");
    left.launchJob("~/Library/LaunchAgents", mail + ".sync", agent, true);
    left.preferences(mail, {{"AccountCount", 2}, {"CheckInterval", 10}});
    left.folder("~/Library/Caches/" + mail, {{"Cache.db", 3 * MB}});
    left.savedState(mail, "Inbox — Fernbrook Mail", 80 * KB);
    left.crashReport("Fernbrook Mail", mail, "12.4", "/Applications/Fernbrook Mail.app/Contents/MacOS/Fernbrook Mail", 220, 1502,
                     "EXC_BAD_ACCESS (SIGSEGV)");
    left.temporary(mail, {{"outbox-spool.tmp", 200 * KB}});

    const std::string daemon = tree.at("/usr/local/libexec/ridgeline-trackerd");
    left.executable(daemon, "#!/bin/sh\n# Usage statistics daemon.\nexec sleep 86400\n");
    left.launchJob("/Library/LaunchDaemons", "org.ridgeline.trackerd", daemon, true);
    left.folder("/Library/Application Support/Ridgeline", {{"tracker.db", 1 * MB}});
    left.folder("~/Library/Caches/org.ridgeline.tracker", {{"events.queue", 90 * KB}});

    left.temporary("TemporaryItems", {{"NSIRD_screencaptureui_Qb31mX/Screenshot.png", 1 * MB + 200 * KB}});
    left.folder("~/Desktop/Screenshots", {{"Screenshot 2026-11-28 at 14.02.11.png", 2 * MB + 300 * KB}});
}

// Applications dragged to the Trash, and what they left behind: their remains are offered in their
// own section, nothing ticked.
void addGoneApps(MacTree& tree, const Leftovers& left)
{
    // A note-taking app still lying in the Trash: its bundle there no longer counts as installed.
    const std::string quill = "com.quillpad.notes";
    AppBlueprint quillpad = makeBlueprint("Quillpad", quill, "3.4", 0x7E57C2);
    quillpad.executableBytes = 4 * MB;
    tree.addApp("~/.Trash", quillpad);
    left.folder("~/Library/Application Support/" + quill, {{"Library.sqlite", 5 * MB + 300 * KB}, {"Drafts/today.md", 6 * KB}});
    left.folder("~/Library/Caches/" + quill, {{"Cache.db", 1 * MB + 800 * KB}});
    left.preferences(quill, {{"CFBundleName", "Quillpad"}, {"LastLaunchedVersion", "3.4"}});
    left.container(quill, {{"Data/Library/Application Support/Quillpad/index.db", 2 * MB}});
    left.groupContainer(quill, {{"Library/Shared.sqlite", 700 * KB}});
    left.savedState(quill, "Today — Quillpad", 60 * KB);
    left.folder("~/Library/HTTPStorages/" + quill, {{"httpstorages.sqlite", 40 * KB}});
    // Its login helper's job: the program lay in the bundle, which is gone from /Applications.
    left.launchJob("~/Library/LaunchAgents", quill + ".launcher",
                   tree.at("/Applications/Quillpad.app/Contents/Library/LoginItems/Quillpad Launcher.app/Contents/MacOS/Quillpad Launcher"),
                   false);

    // A VPN client removed long ago; its privileged helper's job and support folder stay in the
    // system Library.
    const std::string vpn = "net.harborlight.vpn";
    left.launchJob("/Library/LaunchDaemons", vpn + ".helper",
                   tree.at("/Applications/Harborlight VPN.app/Contents/Library/LaunchServices/" + vpn + ".helper"), true);
    left.folder("/Library/Application Support/" + vpn, {{"tunnels.plist", 4 * KB}, {"routes.cache", 90 * KB}});
    left.folder("~/Library/Caches/" + vpn, {{"Cache.db", 600 * KB}});
    left.preferences(vpn, {{"CFBundleName", "Harborlight VPN"}, {"AutoConnect", true}});

    // A reader of which only the cache and the window state are left.
    const std::string reader = "io.glimmer.reader";
    left.folder("~/Library/Caches/" + reader, {{"Covers/0001.jpg", 220 * KB}, {"Covers/0002.jpg", 240 * KB}});
    left.savedState(reader, "Glimmer Reader", 30 * KB);
}

}  // namespace

void buildDemoTree(MacTree& tree)
{
    const Leftovers left(tree);
    addLumenhaus(tree, left);
    addInkvale(tree, left);
    addTidewater(tree, left);
    addMeridian(tree, left);
    addFjordline(tree, left);
    addMoorfield(tree, left);
    addKestrel(tree, left);
    addBindery(tree, left);
    addSonora(tree, left);
    addCordwain(tree, left);
    addTessel(tree, left);
    addAbacus(tree, left);
    addAlderpoint(tree, left);
    addSerifa(tree, left);
    addBrinewood(tree, left);
    addAsterline(tree, left);
    addTintwell(tree, left);
    addRiverbank(tree, left);
    addNimbostrata(tree, left);
    addTraps(tree, left);
    addUnrelated(tree, left);
    addGoneApps(tree, left);
}

}  // namespace demo
