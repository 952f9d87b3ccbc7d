#pragma once

#include <QString>
#include <QStringList>

// The language the screens speak. OSTROVA_LANGUAGE names one ("de", "zh_CN"); otherwise the first
// of the system's preferred languages that Ostrova speaks; otherwise English. Every program that
// links this library and starts a QCoreApplication speaks it from the start: its texts, Qt's own
// (standard buttons, the text fields' menus) and the core's (through platform::localized).
namespace appLanguage {

// The languages Ostrova speaks, as codes: "en", "de", ...
QStringList available();
// The code of the language to speak for these preferred languages, best first, in either spelling
// ("de-CH", "zh_Hans_CN", "pt-BR"): the first one whose language (and, for Chinese, script) Ostrova
// speaks; "en" when none.
QString chosen(const QStringList& preferred);
// Installs the language chosen for OSTROVA_LANGUAGE or the system's preferences and returns its
// code. Installing again replaces what an earlier call installed.
QString install();

}  // namespace appLanguage
