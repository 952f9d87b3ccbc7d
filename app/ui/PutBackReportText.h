#pragma once

#include "app/removal/PutBack.h"

#include <QString>

// The words for a put back that did not bring everything back: a title (whether anything came
// back), and one line per item that stayed away with the reason, in the words the tool uses.
class PutBackReportText {
public:
    static QString title(const PutBack::Report& report);
    static QString details(const PutBack::Report& report);
};
