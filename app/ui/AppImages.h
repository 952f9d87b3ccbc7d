#pragma once

#include <QIcon>
#include <QString>

// The app's named images ("AppIcon", "trash", "trash2", "trash2_dark", "completed_max", "search",
// "library", "containers", "root"), drawn as vectors so that they are sharp at any scale. An
// unknown name gives a null icon.
class AppImages {
public:
    static QIcon named(const QString& name);
};
