#include "viewheader.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmViewHeader::TfrmViewHeader(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmViewHeader"));
    setWindowTitle(QStringLiteral("View Selected Headers"));
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
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    layout->addWidget(btOK, 0, Qt::AlignRight);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    resize(612, 390);
}

void TfrmViewHeader::AddLine(const QString &line)
{
    Memo1->appendPlainText(line);
}

QString TfrmViewHeader::Text() const
{
    return Memo1->toPlainText();
}

void TfrmViewHeader::showEvent(QShowEvent *event)
{
    lblTitle->setText(ViewingHeaders   ? QStringLiteral("Contents of selected e-mail headers")
                      : ViewingReasons ? QStringLiteral("Reasons that e-mail is marked or not marked")
                                       : QStringLiteral("Contents of e-mail"));
    Memo1->moveCursor(QTextCursor::Start);
    QDialog::showEvent(event);
}
