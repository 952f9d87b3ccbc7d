#include "Auxiliary/ApplicationInfo.h"

#include "platform/Bundle.h"

namespace ApplicationInfo {
namespace {

QString mainBundleString(const char* key)
{
    const auto bundle = platform::Bundle::mainBundle();
    if (!bundle)
        return {};
    return QString::fromStdString(plist::stringValue(bundle->infoDictionary(), key));
}

}  // namespace

QString appName() { return mainBundleString("CFBundleName"); }
QString version() { return mainBundleString("CFBundleShortVersionString"); }
QString bulid() { return mainBundleString("CFBundleVersion"); }
QString appIdentifier() { return mainBundleString("CFBundleIdentifier"); }
QString copyright() { return mainBundleString("NSHumanReadableCopyright"); }

}  // namespace ApplicationInfo
