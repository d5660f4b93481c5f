#include "retrieving.h"

#include "mailguard.h"
#include "pictures.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TMailAnimation::TMailAnimation(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("anMail"));
    m_timer.setInterval(kFrameMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrames;
        update();
    });
}

void TMailAnimation::Start()
{
    m_frame = 0;
    m_timer.start();
    update();
}

void TMailAnimation::Stop()
{
    m_timer.stop();
}

QSize TMailAnimation::sizeHint() const
{
    return {300, 56};
}

void TMailAnimation::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(48, height());
    const int top = (height() - side) / 2;
    Picture(QStringLiteral("server")).paint(&p, QRect(0, top, side, side));
    Picture(QStringLiteral("computer")).paint(&p, QRect(width() - side, top, side, side));
    // The letter hops along an arc between the two.
    const int letter = side * 2 / 3;
    const int span = width() - 2 * side - letter;
    const double t = double(m_frame) / (kFrames - 1);
    const int x = side + int(span * t);
    const int lift = int(side * 0.35 * 4 * t * (1 - t));
    Picture(QStringLiteral("envelope")).paint(&p, QRect(x, top + (side - letter) / 2 - lift, letter, letter));
}

TfrmRetrieving::TfrmRetrieving(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRetrieving"));
    setWindowTitle(tr("Retrieving ..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);

    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout();
    grid->addWidget(new QLabel(tr("Server:"), this), 0, 0);
    lblServer = new QLabel(this);
    lblServer->setObjectName(QStringLiteral("lblServer"));
    grid->addWidget(lblServer, 0, 1);
    grid->addWidget(new QLabel(tr("Mailbox:"), this), 1, 0);
    lblMailbox = new QLabel(this);
    lblMailbox->setObjectName(QStringLiteral("lblMailbox"));
    grid->addWidget(lblMailbox, 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.35);
    big.setBold(true);
    lblTitle->setFont(big);
    lblTitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblTitle);

    anMail = new TMailAnimation(this);
    layout->addWidget(anMail);

    lblMsg = new QLabel(this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->setAlignment(Qt::AlignCenter);
    // A long subject must not widen the window beyond the screen.
    lblMsg->setMinimumWidth(1);
    lblMsg->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(lblMsg);

    lblWaited = new QLabel(this);
    lblWaited->setObjectName(QStringLiteral("lblWaited"));
    lblWaited->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblWaited);
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, [this] { ShowWaited(m_sinceNews.elapsed() / 1000); });

    progbar = new QProgressBar(this);
    progbar->setObjectName(QStringLiteral("progbar"));
    progbar->setMinimum(1);
    progbar->setTextVisible(false);
    // Keeps its room while hidden, so the window does not jump when it appears.
    QSizePolicy keep = progbar->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progbar->setSizePolicy(keep);
    progbar->hide();
    layout->addWidget(progbar);

    btCancel = new QPushButton(tr("Click to cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    layout->addWidget(btCancel, 0, Qt::AlignHCenter);
    connect(btCancel, &QPushButton::clicked, this, &TfrmRetrieving::cancelClicked);

    setMinimumWidth(380);
    resize(400, sizeHint().height());
}

void TfrmRetrieving::ShowWaited(qint64 seconds)
{
    if (seconds < kQuietSeconds) {
        lblWaited->clear();
        return;
    }
    const QString time = seconds < 60 ? QStringLiteral("%1 s").arg(seconds)
                                      : tr("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
    lblWaited->setText(tr("Waiting for the server: %1 so far").arg(time));
}

void TfrmRetrieving::Apply(const TProgressState &state)
{
    // Any news from the work restarts the clock.
    m_sinceNews.start();
    ShowWaited(0);
    lblTitle->setText(state.title);
    lblServer->setText(state.server);
    lblMailbox->setText(state.mailbox);
    lblMsg->setText(state.message);
    if (state.barVisible) {
        progbar->setMaximum(qMax(1, state.barMaximum));
        progbar->setValue(qBound(1, state.barPosition, progbar->maximum()));
    }
    progbar->setVisible(state.barVisible);

    if (state.visible && !isVisible()) {
        // Centred on the screen, as the window that owns it may be hidden in the tray.
        if (QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        show();
        raise();
        anMail->Start();
        m_clock.start();
    } else if (!state.visible && isVisible()) {
        anMail->Stop();
        m_clock.stop();
        hide();
    }
}

void TfrmRetrieving::closeEvent(QCloseEvent *event)
{
    // The window goes when the work has stopped, not before.
    event->ignore();
    emit cancelClicked();
}

void TfrmRetrieving::reject()
{
    emit cancelClicked();
}
