#pragma once

#include "Platform.h"

#include <QString>
#include <QStringList>

namespace zyrk {

// What `zyrk --help` prints: how to start the tool, the language words and where the
// settings and the port table live (the folder as found on this machine is given too).
QString HelpText(Platform platform = kHostPlatform);
// What `zyrk --version` prints.
QString VersionText();

// The text to print for a first argument that asks for help or the version (--help, -h,
// --version, -v), or an empty text when the window is to start. Every other first argument
// keeps its meaning: a language word, or nothing.
QString EarlyOutput(const QStringList& arguments);

// Writes the text to the standard output, which main() does before any window or
// application object exists, so it works with no display at all.
void PrintToConsole(const QString& text);

} // namespace zyrk
