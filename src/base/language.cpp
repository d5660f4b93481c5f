#include "language.h"

#include "files.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

int InstallTranslators(const QLocale &locale, QObject *owner)
{
    int found = 0;
    const auto load = [&](const QString &name, const QStringList &folders) {
        for (const QString &folder : folders) {
            auto *translator = new QTranslator(owner);
            if (!folder.isEmpty() && translator->load(locale, name, QStringLiteral("_"), folder)) {
                QCoreApplication::installTranslator(translator);
                ++found;
                return;
            }
            delete translator;
        }
    };
    load(QStringLiteral("qtbase"), {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    load(QStringLiteral("tarnwick"), {ShippedFile(QStringLiteral("translations")), QStringLiteral(":/translations")});
    return found;
}
