#include "about.h"

#include "pictures.h"
#include "settings.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAbout::TfrmAbout(UserSettings &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Tarnwick"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout();
    auto *icon = new QLabel(this);
    icon->setPixmap(Picture(QStringLiteral("tarnwick")).pixmap(64, 64));
    top->addWidget(icon, 0, Qt::AlignTop);
    auto *text = new QLabel(this);
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    text->setText(tr("<h2>Tarnwick %1</h2>"
        "<p>A mail guard for POP3 mailboxes: it lists the waiting messages, marks the spam by "
        "your rules and deletes it on the server before your mail program downloads it.</p>"
        "<p>Ostrand Corporation</p>")
                      .arg(QApplication::applicationVersion()));
    text->setMinimumWidth(300);
    top->addWidget(text, 1);
    layout->addLayout(top);

    auto *toy = new QHBoxLayout();
    btPoint = new QPushButton(tr("Swat a spam"), this);
    btPoint->setObjectName(QStringLiteral("btPoint"));
    btPoint->setAutoDefault(false);
    lblPoints = new QLabel(this);
    lblPoints->setObjectName(QStringLiteral("lblPoints"));
    toy->addWidget(btPoint);
    toy->addWidget(lblPoints, 1);
    layout->addLayout(toy);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    m_points = ReadPoints(m_settings);
    showPoints();
    connect(btPoint, &QPushButton::clicked, this, [this] {
        ++m_points;
        QApplication::beep();
        showPoints();
    });
}

TfrmAbout::~TfrmAbout()
{
    // A score is not worth a message; a settings file that cannot be written just keeps the old one.
    if (m_points != ReadPoints(m_settings))
        SavePoints(m_settings, m_points);
}

void TfrmAbout::showPoints()
{
    lblPoints->setText(m_points == 1 ? tr("1 spam swatted so far")
                                     : tr("%1 spams swatted so far").arg(m_points));
}
