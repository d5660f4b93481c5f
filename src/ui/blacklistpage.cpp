#include "blacklistpage.h"

#include "files.h"
#include "knownlist.h"
#include "pictures.h"
#include "prompts.h"
#include "spamsettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

const char *const kStandBy = QT_TRANSLATE_NOOP("TBlackListPage", "Re-building list ... stand by");
const char *const kMissing = QT_TRANSLATE_NOOP("TBlackListPage", "Could not locate the known spammer blacklist!");

} // namespace

TBlackListPage::TBlackListPage(TSpamSettings &settings, TKnownList &known, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_known(known)
{
    lbExplain = new QLabel(tr("This is an editable list of the e-mail addresses and domain names of known spammers "
        "collected from various public sources on the internet.   You may add or delete from "
        "this list."));
    lbExplain->setWordWrap(true);

    cbKnown = new QCheckBox(
        tr("Compare e-mail with this list of known spammers. Will be marked with :"));
    auto *mark = new QLabel;
    // The same picture the message list gives a sender found in the list.
    mark->setPixmap(Picture(QStringLiteral("mark-blacklist")).pixmap(16, 16));
    mark->setToolTip(tr("A sender found in the list is marked for deletion"));
    mark->setAccessibleName(MarkName(2));
    mark->setAccessibleDescription(mark->toolTip());
    connect(cbKnown, &QCheckBox::toggled, this, [this](bool on) { m_settings.knownOn = on; });

    memoKnown = new QPlainTextEdit;
    memoKnown->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(memoKnown, &QPlainTextEdit::textChanged, this, &TBlackListPage::updateCount);

    lbBusy = new QLabel;
    lbBusy->setAlignment(Qt::AlignCenter);
    lbBusy->setWordWrap(true);
    pnlBusy = new QFrame;
    pnlBusy->setFrameShape(QFrame::StyledPanel);
    pnlBusy->setAutoFillBackground(true);
    auto *busyLayout = new QVBoxLayout(pnlBusy);
    busyLayout->addWidget(lbBusy);
    pnlBusy->hide();

    lbCount = new QLabel;
    btEdit = new QPushButton(tr("&Edit"));
    btSaveChanges = new QPushButton(tr("&Save"));
    btCancelChanges = new QPushButton(tr("Cancel"));
    connect(btEdit, &QPushButton::clicked, this, &TBlackListPage::btEditClick);
    connect(btSaveChanges, &QPushButton::clicked, this, [this] { btSaveChangesClick(); });
    connect(btCancelChanges, &QPushButton::clicked, this, &TBlackListPage::btCancelChangesClick);

    auto *switchRow = new QHBoxLayout;
    switchRow->addWidget(cbKnown);
    switchRow->addWidget(mark);
    switchRow->addStretch();

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(lbCount);
    buttons->addWidget(btEdit);
    buttons->addWidget(btSaveChanges);
    buttons->addWidget(btCancelChanges);
    buttons->addStretch();

    auto *middle = new QHBoxLayout;
    auto *editorColumn = new QVBoxLayout;
    editorColumn->addWidget(pnlBusy);
    editorColumn->addWidget(memoKnown, 1);
    middle->addLayout(editorColumn, 1);
    middle->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbExplain);
    layout->addLayout(switchRow);
    layout->addLayout(middle, 1);

    setEditing(false);
    ShowKnownSwitch();
}

void TBlackListPage::ShowKnownSwitch()
{
    cbKnown->setChecked(m_settings.knownOn);
}

bool TBlackListPage::loadEditor(QString *errorText)
{
    const std::optional<QStringList> lines = ReadTextLines(TKnownList::DefaultPath(), errorText);
    if (!lines)
        return false;
    memoKnown->setPlainText(lines->isEmpty() ? QString() : lines->join(u'\n') + u'\n');
    return true;
}

void TBlackListPage::LoadMemoofKnownSpammers()
{
    ShowKnownSwitch();
    setEditing(false);
    QString error;
    m_missing = !loadEditor(&error);
    if (m_missing) {
        memoKnown->clear();
        // An unreadable file says why; a missing one gets the plain notice.
        showPanel(error.isEmpty() ? tr(kMissing)
                                  : tr(kMissing) + u'\n' + error);
    } else {
        pnlBusy->hide();
    }
    btEdit->setVisible(!m_missing);
    btSaveChanges->setVisible(!m_missing);
    btCancelChanges->setVisible(!m_missing);
    updateCount();
}

bool TBlackListPage::SavePending() const
{
    return !m_missing && btSaveChanges->isEnabled();
}

void TBlackListPage::btEditClick()
{
    if (m_missing)
        return;
    setEditing(true);
    memoKnown->setFocus();
}

bool TBlackListPage::btSaveChangesClick()
{
    if (m_missing || !btSaveChanges->isEnabled())
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    showPanel(tr(kStandBy));
    pnlBusy->repaint();
    const int scroll = memoKnown->verticalScrollBar()->value();
    setEditing(false);

    QString error;
    const bool saved = m_known.SaveKnownList(TKnownList::EditorLines(memoKnown->toPlainText()),
                                             TKnownList::DefaultPath(), &error);
    if (!saved) {
        // The user's edit stays in the editor, ready for another try or a Cancel.
        setEditing(true);
        pnlBusy->hide();
        memoKnown->verticalScrollBar()->setValue(scroll);
        QApplication::restoreOverrideCursor();
        reportError(tr("The known spammer blacklist was not saved; your changes are "
                                   "still in the editor.\n%1").arg(error));
        return false;
    }
    LoadMemoofKnownSpammers();
    memoKnown->verticalScrollBar()->setValue(scroll);
    QApplication::restoreOverrideCursor();
    return true;
}

void TBlackListPage::btCancelChangesClick()
{
    LoadMemoofKnownSpammers();
}

int TBlackListPage::LineCount() const
{
    // Counted like EditorLines() without splitting the whole text on every key press: the
    // empty block after a final line break is no entry.
    int count = memoKnown->blockCount();
    if (memoKnown->document()->lastBlock().text().isEmpty())
        --count;
    return count;
}

void TBlackListPage::setEditing(bool editing)
{
    memoKnown->setReadOnly(!editing);
    QPalette palette = memoKnown->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(
                                         editing ? QPalette::Base : QPalette::Button));
    memoKnown->setPalette(palette);
    btSaveChanges->setEnabled(editing);
    btCancelChanges->setEnabled(editing);
}

void TBlackListPage::showPanel(const QString &text)
{
    lbBusy->setText(text);
    pnlBusy->show();
}

void TBlackListPage::updateCount()
{
    lbCount->setText(tr("Entries: %1").arg(LineCount()));
}

void TBlackListPage::reportError(const QString &text)
{
    if (m_prompts)
        m_prompts->ErrorBox(text);
    else
        QMessageBox::critical(this, tr("Spam Settings"), text);
}
