#include "pictures.h"

#include <QCoreApplication>
#include <QHash>

QString PicturePath(const QString &name)
{
    return QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
}

QIcon Picture(const QString &name)
{
    // Icons are cheap to copy but not to build from SVG; every window asks for the same few.
    static QHash<QString, QIcon> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, QIcon(PicturePath(name)));
    return *it;
}

QIcon MarkPicture(int mark)
{
    switch (mark) {
    case 0: return Picture(QStringLiteral("mark-check"));
    case 1: return Picture(QStringLiteral("mark-question"));
    case 2: return Picture(QStringLiteral("mark-blacklist"));
    default: break;
    }
    if (mark >= 3 && mark <= 14)
        return Picture(QStringLiteral("except-%1").arg(mark, 2, 10, QLatin1Char('0')));
    return QIcon();
}

QString MarkName(int mark)
{
    switch (mark) {
    case 0: return QCoreApplication::translate("Marks", "marked for deletion");
    case 1: return QCoreApplication::translate("Marks", "suspect");
    case 2: return QCoreApplication::translate("Marks", "on the blacklist");
    default: break;
    }
    if (mark >= 3 && mark <= 14)
        return QCoreApplication::translate("Marks", "accepted by an exception");
    return QString();
}

bool IsDarkPalette(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

QColor ProblemTextColor(const QPalette &palette)
{
    return IsDarkPalette(palette) ? QColor(0xff, 0x8a, 0x80) : QColor(0xa0, 0x20, 0x20);
}

QColor AccentTextColor(const QPalette &palette)
{
    return IsDarkPalette(palette) ? QColor(0x8a, 0xb4, 0xf8) : QColor(0x10, 0x40, 0xc0);
}
