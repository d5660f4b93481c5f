#include "viewheader.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QUrl>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmViewHeader::TfrmViewHeader(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmViewHeader"));
    setWindowTitle(tr("View Selected Headers"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont bold = lblTitle->font();
    bold.setBold(true);
    lblTitle->setFont(bold);
    layout->addWidget(lblTitle);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(Memo1);
    auto *buttons = new QHBoxLayout();
    btOpen = new QPushButton(tr("Open in mail program"), this);
    btOpen->setObjectName(QStringLiteral("btOpen"));
    btOpen->setToolTip(tr("Show the whole message, with its pictures and attachments, in the "
                                      "desktop's program for e-mail files"));
    btOpen->setAutoDefault(false);
    btOpen->hide();
    buttons->addWidget(btOpen);
    buttons->addStretch();
    btOK = new QPushButton(tr("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    buttons->addWidget(btOK);
    layout->addLayout(buttons);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btOpen, &QPushButton::clicked, this, &TfrmViewHeader::btOpenClick);
    resize(612, 390);
}

void TfrmViewHeader::AddLine(const QString &line)
{
    Memo1->appendPlainText(line);
}

void TfrmViewHeader::SetLines(const QStringList &lines)
{
    Memo1->setPlainText(lines.join(u'\n'));
}

void TfrmViewHeader::SetMessageFile(const QString &file)
{
    m_file = file;
    btOpen->setVisible(!file.isEmpty());
}

void TfrmViewHeader::btOpenClick()
{
    if (m_file.isEmpty())
        return;
    if (!QFileInfo(m_file).isFile()) {
        QMessageBox::critical(this, windowTitle(),
                              tr("The message file %1 is gone. View the message again to download "
                                             "it once more.")
                                  .arg(m_file));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(m_file)))
        QMessageBox::critical(this, windowTitle(),
                              tr("The desktop has no program set up for e-mail files (.eml). The "
                                             "message is saved as %1; open it with your mail program.")
                                  .arg(m_file));
}

QString TfrmViewHeader::Text() const
{
    return Memo1->toPlainText();
}

void TfrmViewHeader::showEvent(QShowEvent *event)
{
    lblTitle->setText(ViewingHeaders   ? tr("Contents of selected e-mail headers")
                      : ViewingReasons ? tr("Reasons that e-mail is marked or not marked")
                                       : tr("Contents of e-mail"));
    // Each of the three windows says in its title bar what it shows.
    setWindowTitle(ViewingHeaders   ? tr("View Selected Headers")
                   : ViewingReasons ? tr("Why Was This E-mail Marked?")
                                    : tr("View Message Body"));
    Memo1->moveCursor(QTextCursor::Start);
    QDialog::showEvent(event);
}
