#pragma once

#include "mailguard.h"
#include "message.h"
#include "prompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A message downloaded for viewing: its file in the data folder and its decoded text.
struct TViewedMessage
{
    QString file;
    QStringList lines;
};

// The commands on the rows the user selected in the message list: why a row got its mark,
// its header lines, turning rows into exception rules. The window passes the selected rows
// (in list order) and shows what comes back in a viewer; every message box of these
// commands (nothing selected, more than one selected, errors) goes through the prompts, so
// a test sees the same texts a user would.
//
// A command started while the guard is busy (a check, a deletion, a download) does nothing:
// the rows belong to the command that runs.
class TMessageInspector
{
public:
    // guard and prompts must outlive the inspector.
    TMessageInspector(TMailGuard &guard, TPrompts &prompts);

    // With no row selected the user is told how to select (or that the list is empty) and
    // false comes back.
    bool RequireSelection(const QList<int> &rows);
    // The row a one-message command works on: the lowest selected, after telling the user
    // when several are selected; -1 (after the no-selection message) when none is.
    int OneSelectedRow(const QList<int> &rows);

    // "Why was this e-mail marked?": the reasons text for the first selected row. The row's
    // mark is left as it was. Empty when there is nothing to show.
    QStringList Why1Click(const QList<int> &rows);
    // "View selected message(s) headers": for every selected row a block of two star lines
    // around its subject and sender, then its header lines as received. Empty when there is
    // nothing to show.
    QStringList ViewHeader1Click(const QList<int> &rows);
    // "Add selected sender(s) to exceptions list": one exception rule per selected row, the
    // rule lists stored, every row evaluated again. True when rules were added.
    bool AddtoExceptions1Click(const QList<int> &rows);
    // "View body of one message": downloads the first selected message (it stays on the
    // server) to "msg_<row>.eml" in the data folder and decodes it. Nothing when refused or
    // failed (the reason was shown); a file from an earlier download never stands in for it.
    // A second call while one runs is refused with a notice.
    std::optional<TViewedMessage> ViewMessages1Click(const QList<int> &rows);
    bool ViewingBody() const { return m_viewing; }

    // The texts of the message boxes, as they stand.
    static QString NoSelectionText(bool listEmpty);
    static QString OnlyOneText();

private:
    TMailGuard &m_guard;
    TPrompts &m_prompts;
    TmsMessage m_message; // msMessage1, the message being viewed
    bool m_viewing = false;
};
