// Feeds arbitrary bytes to the property-list reader, the strings-table reader and, through a real
// bundle on disk, to the application record that reads Info.plist and InfoPlist.strings.
#include "app/bundles/BundleReader.h"
#include "app/records/UninstallApp.h"
#include "fixtures/MacTree.h"
#include "platform/StringsFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

fixtures::MacTree& tree()
{
    static auto* shared = [] {
        auto* made = new fixtures::MacTree("fuzzer");
        made->activate();
        made->environment().set("LANG", "de_DE.UTF-8");
        made->makeDirectories(made->at("/Applications/Fuzz.app/Contents/Resources/de.lproj"));
        return made;
    }();
    return *shared;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)plist::parse(bytes);
    (void)platform::parseStringsFile(bytes);

    auto& t = tree();
    const std::string bundle = t.at("/Applications/Fuzz.app");
    const bool asStrings = size > 0 && (data[0] & 1);
    if (asStrings) {
        t.writeFile(bundle + "/Contents/Info.plist", "");
        t.writeFile(bundle + "/Contents/Resources/de.lproj/InfoPlist.strings", bytes);
    } else {
        t.writeFile(bundle + "/Contents/Info.plist", bytes);
        t.writeFile(bundle + "/Contents/Resources/de.lproj/InfoPlist.strings", "");
    }
    const auto app = BundleReader::record(bundle);
    (void)app->displayName();
    (void)app->bundleIdentifier();
    (void)app->executablePath();
    return 0;
}
