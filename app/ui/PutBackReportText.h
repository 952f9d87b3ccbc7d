#pragma once

#include "app/removal/PutBack.h"

#include <QString>

// The words for a put back that did not bring everything back: a title, and one line per item that
// stayed away with the reason.
class PutBackReportText {
public:
    static QString title();
    static QString details(const PutBack::Report& report);
};
