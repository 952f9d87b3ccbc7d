#pragma once

#include "app/removal/PutBack.h"

#include <QCoreApplication>
#include <QString>

// The words for a put back: for a complete one, what came back; for one that did not bring
// everything back, a title (whether anything came back) and one line per item that stayed away
// with the reason, in the words the tool uses.
class PutBackReportText {
    Q_DECLARE_TR_FUNCTIONS(PutBackReportText)

public:
    // "Put back 6 items (245.3 KB)."
    static QString confirmation(const PutBack::Report& report);
    static QString title(const PutBack::Report& report);
    static QString details(const PutBack::Report& report);
};
