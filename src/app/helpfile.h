#pragma once

#include <QString>

// The HTML manual "tarnwick.html" and its pictures ship in a folder "help" with the other
// shipped files (ShippedFile): an installed program finds it at <prefix>/share/tarnwick/help
// beside <prefix>/bin/tarnwick, a program run from its build folder in the source tree's
// data/help. The installed copy is looked for first, so an installed program never shows the
// manual of some source tree.
// Empty when neither holds the manual.
QString HelpFile(const QString &programFolder);
// The same for the running program (QCoreApplication::applicationDirPath()).
QString HelpFile();
