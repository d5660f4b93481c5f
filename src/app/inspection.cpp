#include "inspection.h"

#include "mspars.h"
#include "wording.h"

#include <QScopeGuard>

TMessageInspector::TMessageInspector(TMailGuard &guard, TPrompts &prompts) : m_guard(guard), m_prompts(prompts)
{
}

QString TMessageInspector::NoSelectionText(bool listEmpty)
{
    return listEmpty ? Said("Guard", "Either there are no e-mail messages waiting on the mail server or you "
                                      "have not yet clicked on the \"Check E-Mail\" button.")
                     : Said("Guard", "No messages were selected.  To select one message click on a subject.  "
                                      "To select multiple messages drag the mouse over the list of desired "
                                      "subjects.");
}

QString TMessageInspector::OnlyOneText()
{
    return Said("Guard", "You have selected more than one message to view.  Only one message can be viewed "
                          "at one time.  The first one selected will be displayed.");
}

bool TMessageInspector::RequireSelection(const QList<int> &rows)
{
    // A row number the list no longer has (the list was rebuilt while a box was open) counts
    // as no selection rather than reaching past the end of the list.
    bool any = false;
    for (int row : rows)
        any = any || (row >= 0 && row < m_guard.Messages().Count());
    if (!any)
        m_prompts.InfoBox(NoSelectionText(m_guard.Messages().IsEmpty()));
    return any;
}

int TMessageInspector::OneSelectedRow(const QList<int> &rows)
{
    if (!RequireSelection(rows))
        return -1;
    if (rows.size() > 1)
        m_prompts.InfoBox(OnlyOneText());
    // Looked for after the box, which ran an event loop of its own: the row must still be
    // in the list.
    int first = -1;
    for (int row : rows)
        if (row >= 0 && row < m_guard.Messages().Count() && (first < 0 || row < first))
            first = row;
    return first;
}

QStringList TMessageInspector::Why1Click(const QList<int> &rows)
{
    if (m_guard.IsBusy())
        return {};
    const int row = OneSelectedRow(rows);
    if (row < 0 || m_guard.IsBusy())
        return {};
    return m_guard.Evaluator().WhyMarked(row);
}

QStringList TMessageInspector::ViewHeader1Click(const QList<int> &rows)
{
    if (m_guard.IsBusy() || !RequireSelection(rows))
        return {};
    QStringList text;
    const QString stars(38, u'*');
    const TMessageListModel &list = m_guard.Messages();
    for (int row : rows) {
        if (row < 0 || row >= list.Count())
            continue;
        const TMessageListRow &message = list.Row(row);
        text << stars << Said("Guard", "Subject : %1 Sender : %2").arg(message.subject, message.sender)
             << stars;
        for (const QString &line : message.headers)
            text << line;
    }
    return text;
}

bool TMessageInspector::AddtoExceptions1Click(const QList<int> &rows)
{
    if (m_guard.IsBusy() || !RequireSelection(rows))
        return false;
    bool added = false;
    for (int row : rows)
        if (row >= 0 && row < m_guard.Messages().Count())
            added = m_guard.SpamSettings().AddSenderToExceptions(m_guard.Messages().Row(row).sender) || added;
    if (!added) {
        m_prompts.InfoBox(Said("Guard", "The selected messages have no sender address, so no exception was "
                                         "added. Add an exception by another field in the spam settings."));
        return false;
    }
    QString error;
    if (!m_guard.SpamSettings().Savesettings(&error))
        m_prompts.ErrorBox(Said("Guard", "The exceptions were added and are used now, but the rule lists could "
                                          "not be saved: %1\nCheck that the data folder is writable, then open "
                                          "the spam settings and press OK to save them.")
                               .arg(error));
    // The new exceptions show at once.
    m_guard.btRemarkClick();
    return true;
}

std::optional<TViewedMessage> TMessageInspector::ViewMessages1Click(const QList<int> &rows)
{
    // The message object is filled while the download's wait runs the event loop; a second
    // command then must not clear it under the first.
    if (m_viewing) {
        m_prompts.InfoBox(Said("Guard", "A message is being downloaded for viewing. Wait until it is shown, "
                                         "then view the next one."));
        return std::nullopt;
    }
    if (m_guard.IsBusy())
        return std::nullopt;
    m_viewing = true;
    const auto done = qScopeGuard([this] { m_viewing = false; });

    const int row = OneSelectedRow(rows);
    if (row < 0)
        return std::nullopt;
    const QString file = m_guard.RetrieveMessage(row);
    if (file.isEmpty())
        return std::nullopt;
    try {
        // Decoding runs start to end without the event loop: nothing can reach the message
        // while it is being filled.
        LoadFromFile(m_message, file);
    } catch (const EMessageError &e) {
        m_prompts.ErrorBox(Said("Guard", "The message was downloaded as %1 but could not be read: %2\nOpen the "
                                          "file with your mail program to see it.")
                               .arg(file, e.Message()));
        return std::nullopt;
    }
    return TViewedMessage{file, m_message.Body()};
}
