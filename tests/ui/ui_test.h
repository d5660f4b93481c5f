#pragma once

// Shared pieces of the window tests: prompts answered from a script, and a way to act on a
// modal window from inside the nested event loop that shows it.

#include "prompts.h"

#include "temp_home.h"

// Every widget class the tests reach into, in one place.
#include <QPrinter>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtCharts>
#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

// Readable failure messages for texts.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

class TTestPrompts final : public TPrompts
{
public:
    QStringList errors;
    QStringList infos;
    QStringList questions;
    QList<bool> answers; // Yes/No in order; No when none is left
    QList<int> choices;  // mailbox choice; 0 (cancel) when none is left

    void ErrorBox(const QString &text) override { errors << text; }
    void InfoBox(const QString &text) override { infos << text; }
    bool AskYesNo(const QString &text) override { questions << text; return !answers.isEmpty() && answers.takeFirst(); }
    int ChooseMailbox(const QList<TMailboxEntry> &, int) override { return choices.isEmpty() ? 0 : choices.takeFirst(); }
    bool AskTrustCertificate(int, const QString &message, const QString &) override { errors << message; return false; }
};

// Calls act every few milliseconds from the event loop until it returns true (or the object
// goes): lets a test look at the window and click while a command waits inside a nested loop.
class TPoller : public QObject
{
public:
    explicit TPoller(std::function<bool()> act) : m_act(std::move(act))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_act())
                m_timer.stop();
        });
        m_timer.start();
    }
    bool done() const { return !m_timer.isActive(); }

private:
    std::function<bool()> m_act;
    QTimer m_timer;
};

// Runs the event loop until pred holds or ms have passed; true when it holds.
template <typename Pred>
bool WaitUntil(Pred pred, int ms = 5000) { return QTest::qWaitFor(pred, ms); }

// Keeps a picture of a window when the run asks for them (TARNWICK_SCREENSHOTS=folder).
inline void Keep(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("TARNWICK_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
    window->grab().save(folder + u'/' + name + QStringLiteral(".png"));
}
