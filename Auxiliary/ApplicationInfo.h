#pragma once

#include <QString>

// The main bundle's information: Info.plist values, "" when missing.
namespace ApplicationInfo {

QString appName();
QString version();
QString bulid();
QString appIdentifier();
QString copyright();

}  // namespace ApplicationInfo
