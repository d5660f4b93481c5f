#include "splash.h"

#include "pictures.h"

#include <QApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace {

QPixmap SplashPicture(qreal ratio)
{
    QSvgRenderer svg(PicturePath(QStringLiteral("splash")));
    const QSize size = svg.defaultSize().isValid() ? svg.defaultSize() : QSize(420, 240);
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    svg.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

} // namespace

TfrmSplash::TfrmSplash() : QSplashScreen(SplashPicture(qApp->devicePixelRatio()))
{
    setObjectName(QStringLiteral("frmSplash"));
    showMessage(tr("Reading rules and settings ..."), Qt::AlignBottom | Qt::AlignRight, Qt::white);
    timSplash.setSingleShot(true);
    timSplash.setInterval(kShowMs);
    connect(&timSplash, &QTimer::timeout, this, [this] {
        close();
        deleteLater();
    });
}

void TfrmSplash::Ready()
{
    showMessage(tr("Version %1").arg(QApplication::applicationVersion()),
                Qt::AlignBottom | Qt::AlignRight, Qt::white);
    // The main window has just appeared; the splash stays in front of it until it closes.
    raise();
    repaint();
    timSplash.start();
}
