// The commands on selected rows against the real Dovecot of the test fixture: why a row got
// its mark, header blocks, exceptions from selected rows, and the clean-up of downloaded
// messages. Mailboxes user15, user18 and user21 ... user23 belong to these tests.
#include "guard_dovecot.h"

#include "files.h"
#include "helpfile.h"
#include "inspection.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class InspectDovecot : public GuardDovecot
{
protected:
    // Seeds user's mailbox, checks it and sets up the commands on its rows.
    void CheckMailbox(const QString &user, const QList<QByteArray> &mail)
    {
        StartWith(user, mail);
        inspector = std::make_unique<TMessageInspector>(*guard, prompts);
        ASSERT_TRUE(guard->btListClick()) << prompts.texts(TPromptCall::Error).join(u'\n').toStdString();
        prompts.calls.clear();
    }

    std::unique_ptr<TMessageInspector> inspector;
};

// The reasons text of one row (each reason's wording is the evaluator's evidence), and what it
// does to the marks (nothing); the headers of two.
TEST_F(InspectDovecot, WhyExplainsTheMarkAndLeavesEveryMarkAsItWas)
{
    CheckMailbox(QStringLiteral("user21"), StandardMailbox());
    // Row 4 ("Lunch") has no mark; the user marks it by hand, so Why must say so.
    guard->btMarkClick({4});
    const QList<int> before = RowMarks();
    ASSERT_EQ(before, (QList<int>{0, 2, 5, 1, 0}));
    const QStringList pills{"Message from shop@pills.example", "Subject of   Cheap pills today", "",
                            "Delete   :  Subject Contains \"pills\" "};
    const struct { QList<int> selected; QStringList text; } cases[] = {
        {{0}, pills},
        {{4}, {"Message from colleague@example.com", "Subject of   Lunch", "",
               "Message was neither on the exception list nor on the list of matching criteria",
               "** You marked this message **"}},
        {{3, 0}, pills}, // two selected: the lower row, after a notice
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.selected.first());
        prompts.calls.clear();
        EXPECT_EQ(inspector->Why1Click(c.selected), c.text);
        EXPECT_EQ(prompts.texts(TPromptCall::Info),
                  c.selected.size() > 1 ? QStringList{TMessageInspector::OnlyOneText()} : QStringList{});
        EXPECT_EQ(RowMarks(), before);
    }

    // The header blocks of selected rows: two star lines around the identification, then the
    // stored lines.
    const QStringList text = inspector->ViewHeader1Click({0, 3});
    const QString stars(38, u'*');
    QStringList expected;
    for (int row : {0, 3}) {
        const TMessageListRow &r = guard->Messages().Row(row);
        expected << stars << QStringLiteral("Subject : %1 Sender : %2").arg(r.subject, r.sender) << stars;
        expected << QStringList(r.headers.begin(), r.headers.end());
    }
    EXPECT_EQ(text, expected);
    EXPECT_TRUE(text.contains(QStringLiteral("X-Mailer: BulkMailer 2.0")));
}

// Two selected rows become two exception rules: stored at once, used at once, and still
// used by the next check, which accepts both messages.
TEST_F(InspectDovecot, ExceptionsFromTwoSelectedRowsAcceptThemFromNowOn)
{
    CheckMailbox(QStringLiteral("user23"), StandardMailbox());
    const int exceptBefore = guard->SpamSettings().gridExcept.RowCount();

    ASSERT_TRUE(inspector->AddtoExceptions1Click({0, 1}));
    EXPECT_TRUE(prompts.texts(TPromptCall::Error).isEmpty()) << prompts.texts(TPromptCall::Error).join(u'\n').toStdString();
    // The new rules carry picture 3: both rows show it now, the rest are as before.
    EXPECT_EQ(RowMarks(), (QList<int>{3, 3, 5, 1, -1}));
    EXPECT_EQ(guard->StatusText(), QStringLiteral("Message Total: 5 Number Marked: 0"));

    // Stored: a fresh reading of the files has the two rules at the end, in list order (the
    // form of such a rule is the rule layer's evidence).
    TSpamSettings stored;
    stored.readSettings();
    const RuleTable &ex = stored.gridExcept;
    ASSERT_EQ(ex.RowCount(), exceptBefore + 2);
    EXPECT_EQ(QStringList({ex.Cells(2, exceptBefore), ex.Cells(2, exceptBefore + 1)}),
              (QStringList{"shop@pills.example", "spammer@known-spam.example"}));

    // The next evaluation, by a new check of the same mailbox, accepts them.
    ASSERT_TRUE(guard->btListClick());
    EXPECT_EQ(RowMarks(), (QList<int>{3, 3, 5, 1, -1}));
    EXPECT_EQ(Waiting(QStringLiteral("user23")), StandardSubjects());
}

// Single part, quoted-printable UTF-8: how multipart bodies are taken apart is the MIME tests'
// evidence; here the download and the decoding on the way to the window.
const QByteArray kThird = "From: Jonas Brandt <jonas@work.example>\nSubject: Budget review\nMIME-Version: 1.0\n"
                          "Content-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: quoted-printable\n\n"
                          "Room Gr=C3=BCnwald, =\nfigures =3D last week's.\n";

// The third message of the mailbox is downloaded, decoded and shown; it stays on the server.
// A file left from an earlier download is replaced, and when the message has gone from the
// server meanwhile, its old file is not shown in its place.
TEST_F(InspectDovecot, BodyOfTheThirdMessageIsItsText)
{
    const QString user = QStringLiteral("user15");
    ASSERT_NO_FATAL_FAILURE(CheckMailbox(user, {Mail("a@example.org", "First"), Mail("b@example.org", "Second"),
                                                kThird, Mail("d@example.org", "Fourth")}));
    // Left from an earlier run that was not cleaned up: it must not pass for message 3.
    h.home.write(QStringLiteral("msg_2.eml"), Mail(QStringLiteral("old@example.org"), QStringLiteral("Stale")));
    // Pointing the client elsewhere does not change where the rows' messages are fetched.
    guard->GetRemotePOPSettings(2);

    // A second "View body" reaching the window while the download waits is turned away, and
    // the first goes on undisturbed.
    std::optional<std::optional<TViewedMessage>> second;
    QTimer::singleShot(0, [&] { second = inspector->ViewMessages1Click({0}); });
    const std::optional<TViewedMessage> viewed = inspector->ViewMessages1Click({2, 3});
    ASSERT_TRUE(second.has_value()) << "the second command did not run during the download";
    EXPECT_FALSE(*second);
    EXPECT_FALSE(QFile::exists(h.home.file(QStringLiteral("msg_0.eml"))));
    ASSERT_TRUE(viewed) << prompts.texts(TPromptCall::Error).join(u'\n').toStdString();
    const QStringList infos = prompts.texts(TPromptCall::Info);
    ASSERT_EQ(infos.size(), 2);
    EXPECT_EQ(infos.at(0), TMessageInspector::OnlyOneText());
    EXPECT_TRUE(infos.at(1).startsWith(QStringLiteral("A message is being downloaded for viewing."))) << infos.at(1).toStdString();
    EXPECT_EQ(viewed->file, h.home.file(QStringLiteral("msg_2.eml")));
    EXPECT_EQ(h.home.read(QStringLiteral("msg_2.eml")), ToCrlf(kThird));
    const QStringList expected{QStringLiteral("Room Grünwald, figures = last week's.")};
    QStringList text = viewed->lines;
    while (!text.isEmpty() && text.last().isEmpty())
        text.removeLast();
    EXPECT_EQ(text, expected);
    EXPECT_EQ(Waiting(user).size(), 4);
    EXPECT_FALSE(guard->IsBusy());
    EXPECT_FALSE(inspector->ViewingBody());

    // Message 3 goes from the server behind the list's back; viewing it again says so and
    // shows no file.
    TakeAway(user, 2);
    prompts.calls.clear();
    EXPECT_FALSE(inspector->ViewMessages1Click({2}));
    EXPECT_EQ(prompts.calls.size(), 1);
    EXPECT_FALSE(QFile::exists(h.home.file(QStringLiteral("msg_2.eml"))));
}

// Up to 50000 bytes a message is downloaded without a question; above, only after Yes.
TEST_F(InspectDovecot, LargeMessagesAskFirst)
{
    const auto sized = [](const char *subject, int size) {
        QByteArray mail = Mail(QStringLiteral("big@example.org"), QString::fromLatin1(subject));
        const QByteArray line(70, 'x');
        while (ToCrlf(mail).size() + 72 <= size)
            mail += line + '\n';
        mail += QByteArray(size - ToCrlf(mail).size() - 2, 'y') + '\n';
        return mail;
    };
    const QString user = QStringLiteral("user22");
    ASSERT_NO_FATAL_FAILURE(CheckMailbox(user, {sized("Exactly", 50000), sized("One more", 50001)}));
    ASSERT_EQ(QStringList({guard->Messages().Row(0).sizeText, guard->Messages().Row(1).sizeText}), (QStringList{"50000", "50001"}));

    struct Case { int row; QList<bool> answers; bool asked; bool shown; };
    const Case cases[] = {{0, {}, false, true}, {1, {false}, true, false}, {1, {true}, true, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        prompts.calls.clear();
        prompts.yesNo = c.answers;
        QFile::remove(h.home.file(QStringLiteral("msg_%1.eml").arg(c.row)));
        EXPECT_EQ(bool(inspector->ViewMessages1Click({c.row})), c.shown);
        EXPECT_EQ(prompts.texts(TPromptCall::Question),
                  c.asked ? QStringList{QStringLiteral("The message you have selected to view is quite large - 50001 "
                                                       "bytes. Are you sure you wish to download and view it?")}
                          : QStringList{});
        EXPECT_EQ(QFile::exists(h.home.file(QStringLiteral("msg_%1.eml").arg(c.row))), c.shown);
    }
}

// Every "msg_*.eml" goes at start, also beyond the hundredth row; nothing else does.
TEST(InspectCleanUp, EveryDownloadedMessageGoesAndNothingElse)
{
    TGuardHome h;
    h.write();
    const QStringList gone{"msg_0.eml", "msg_100.eml", "msg_101.eml", "msg_4999.eml"};
    const QStringList kept{"msg_1.txt", "mymsg_1.eml", "known.lst", "notes.eml"};
    for (const QString &name : gone + kept)
        h.home.write(name, "x");
    TScriptedPrompts prompts;
    TMailGuard guard(prompts);
    guard.FormCreate();
    for (const QString &name : gone)
        EXPECT_FALSE(QFile::exists(h.home.file(name))) << name.toStdString();
    for (const QString &name : kept)
        EXPECT_TRUE(QFile::exists(h.home.file(name))) << name.toStdString();
}

// The manual the Help command opens is found (where shipped files are found is tested with
// them), and every picture and page it links to is there.
TEST(InspectHelp, ManualIsFoundAndComplete)
{
    const QString manual = HelpFile();
    ASSERT_FALSE(manual.isEmpty());
    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    const QRegularExpression link(QStringLiteral("(?:src|href)=\"([^\"#:]+)(?:#[^\"]*)?\""));
    int pictures = 0;
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const QString target = it.next().captured(1);
        pictures += target.endsWith(QStringLiteral(".png"));
        EXPECT_TRUE(QFileInfo(QFileInfo(manual).dir().filePath(target)).isFile()) << target.toStdString();
    }
    EXPECT_GE(pictures, 3) << "the manual shows the program";
}

} // namespace
