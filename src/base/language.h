#pragma once

#include <QLocale>
#include <QObject>

// Puts the translations for locale in place, Qt's own dialogs' texts first, then the
// program's: the installed ones where the package put them (a packager may update them),
// else the ones compiled in. The translators are owner's children; deleting owner takes
// them out again. Returns how many were found (0 for English, or a language not shipped).
int InstallTranslators(const QLocale &locale, QObject *owner);
