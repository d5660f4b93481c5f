#include "pictures.h"

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
