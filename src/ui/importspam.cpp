#include "importspam.h"

#include "importfile.h"
#include "spamsettings.h"
#include "textutil.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include "pictures.h"
#include <QTextCursor>
#include <QVBoxLayout>

TfrmImportSpam::TfrmImportSpam(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Import new keywords"));
    lbTitle = new QLabel;
    QFont bold = lbTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    lbTitle->setFont(bold);

    memoImport = new QPlainTextEdit;
    memoImport->setLineWrapMode(QPlainTextEdit::NoWrap);

    lbExplain = new QLabel(tr("A quick way to enter new SPAM subject keywords is to paste them into the box above or "
        "type them in.  They should be entered one per line.  This will allow you to quickly "
        "expand the number of keywords that Tarnwick searches for."));
    lbExplain->setWordWrap(true);

    lbLoaded = new QLabel;
    lbLoaded->setWordWrap(true);
    lbLoaded->hide();

    btLoad = new QPushButton(tr("&Load from file..."));
    btLoad->setToolTip(tr("Adds the lines of a text file to the box"));
    connect(btLoad, &QPushButton::clicked, this, &TfrmImportSpam::btLoadClick);

    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    btOK = box->button(QDialogButtonBox::Ok);
    btCancel = box->button(QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(btLoad);
    bottom->addStretch();
    bottom->addWidget(box);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbTitle);
    layout->addWidget(memoImport, 1);
    layout->addWidget(lbExplain);
    layout->addWidget(lbLoaded);
    layout->addLayout(bottom);
    resize(460, 400);
    SetKind(Kind::Keywords);
}

void TfrmImportSpam::SetKind(Kind kind)
{
    m_kind = kind;
    // The dialog says which list the lines go into.
    const bool keywords = kind == Kind::Keywords;
    setWindowTitle(keywords ? tr("Import keywords into the subject list")
                            : tr("Import addresses into the exceptions list"));
    lbTitle->setText(keywords ? tr("Import spam keywords into the subject list")
                              : tr("Import e-mail addresses into the exceptions list"));
    lbExplain->setText(keywords
                           ? tr("A quick way to enter new SPAM subject keywords is to paste them into "
                                            "the box above or type them in.  They should be entered one per "
                                            "line.  This will allow you to quickly expand the number of keywords "
                                            "that Tarnwick searches for.")
                           : tr("Paste or type the addresses of senders whose mail is always "
                                            "accepted, one per line.  Each becomes an exception rule."));
}

QStringList TfrmImportSpam::Lines() const
{
    return DropRepeatedLines(SplitLines(memoImport->toPlainText()));
}

bool TfrmImportSpam::LoadFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showLoaded(tr("Cannot read \"%1\": %2").arg(path, file.errorString()), true);
        return false;
    }
    if (file.size() > kMaxImportFileBytes) {
        showLoaded(tr("\"%1\" is too large for a list of one entry per line "
                                  "(more than %2 MB); nothing was added.")
                       .arg(name)
                       .arg(kMaxImportFileBytes / (1024 * 1024)),
                   true);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        showLoaded(tr("Cannot read \"%1\": %2").arg(path, file.errorString()), true);
        return false;
    }
    const TImportFile parsed = ParseImportFile(bytes);
    if (!parsed.lines.isEmpty()) {
        // Appended below what the box already holds, on lines of their own.
        QString text = memoImport->toPlainText();
        if (!text.isEmpty() && !text.endsWith(u'\n'))
            text += u'\n';
        memoImport->setPlainText(text + parsed.lines.join(u'\n') + u'\n');
        memoImport->moveCursor(QTextCursor::End);
    }
    QString report = tr("Added %1 line(s) from \"%2\".").arg(parsed.lines.size()).arg(name);
    if (parsed.skipped > 0)
        report += tr(" Skipped %1 line(s) that were not text or longer than %2 "
                                 "characters.")
                      .arg(parsed.skipped)
                      .arg(kMaxTextLength);
    if (parsed.lines.isEmpty() && parsed.skipped > 0)
        report += tr(" The file does not look like a text file.");
    showLoaded(report, parsed.skipped > 0);
    return !parsed.lines.isEmpty() || parsed.skipped == 0;
}

int TfrmImportSpam::ImportInto(TSpamSettings &settings) const
{
    const QStringList lines = Lines();
    return m_kind == Kind::Keywords ? settings.ImportKeywords(lines) : settings.ImportAddresses(lines);
}

int TfrmImportSpam::Run(TSpamSettings &settings, Kind kind)
{
    SetKind(kind);
    memoImport->clear();
    lbLoaded->hide();
    memoImport->setFocus();
    if (exec() != QDialog::Accepted)
        return -1;
    return ImportInto(settings);
}

void TfrmImportSpam::btLoadClick()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Load a list"), QString(),
        tr("Text files (*.txt *.lst *.csv);;All files (*)"));
    if (!path.isEmpty())
        LoadFile(path);
}

void TfrmImportSpam::showLoaded(const QString &text, bool problem)
{
    lbLoaded->setText(text);
    QPalette palette = lbLoaded->palette();
    palette.setColor(QPalette::WindowText, problem ? ProblemTextColor(palette)
                                                   : QApplication::palette().color(QPalette::WindowText));
    lbLoaded->setPalette(palette);
    lbLoaded->show();
}
