#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kData = QStringLiteral(TARNWICK_TEST_DATA "/classify");

struct ToolRun { int exitCode = -1; QString out, err; };

ToolRun classify(const QStringList &args, const QString &home = QString())
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!home.isEmpty())
        env.insert(QStringLiteral("TARNWICK_HOME"), home);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(CLASSIFY_BINARY), args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QString mail(const char *name) { return kData + QStringLiteral("/mail/") + QString::fromUtf8(name); }

// A private copy of the sample rules, so a run that wrote anything would be noticed.
class ClassifyTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(rules.isValid());
        const QDir source(kData + QStringLiteral("/rules"));
        for (const QString &name : source.entryList(QDir::Files)) {
            ASSERT_TRUE(QFile::copy(source.filePath(name), rules.filePath(name)));
            original.insert(name, readAll(rules.filePath(name)));
        }
        ASSERT_EQ(original.size(), 6);
    }

    static QByteArray readAll(const QString &path) { QFile f(path); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); }

    void expectRulesUnchanged() const
    {
        const QStringList now = QDir(rules.path()).entryList(QDir::Files);
        EXPECT_EQ(now, QStringList(original.keys()));
        for (auto it = original.cbegin(); it != original.cend(); ++it)
            EXPECT_EQ(readAll(rules.filePath(it.key())), it.value()) << it.key().toStdString();
    }

    QTemporaryDir rules;
    QMap<QString, QByteArray> original;
};

TEST_F(ClassifyTool, MarksAndReasonsFollowTheRules)
{
    const QString missing = rules.filePath(QStringLiteral("no-such.eml"));
    const ToolRun run = classify({QStringLiteral("--data"), rules.path(), QStringLiteral("--why"),
                              mail("family.eml"), mail("free.eml"), missing, mail("shouting.eml"),
                              mail("listed.eml"), mail("numeric.eml"), mail("replyto.eml"),
                              mail("noreply.eml"), mail("plain.eml"), mail("big.eml")});
    const QString expected = QStringLiteral(
        "5\t%1\n"
        "  Message from mom@family.example\n"
        "  Subject of   FREE dinner on Sunday\n"
        "  Exception :  Domain name Equals \"family.example\" \n"
        "0\t%2\n"
        "  Message from deals@shop.example\n"
        "  Subject of   Get FREE stuff!\n"
        "  Delete   :  Subject Contains (whole word) \"free\" \n"
        "  Delete   :  Header Contains \"X-Mailer: Floodgate\" \n"
        "1\t%3\n"
        "  Message from news@letters.example\n"
        "  Subject of   BIG NEWS TODAY\n"
        "  Question :  Subject Is UPPERCASE\n"
        "2\t%4\n"
        "  Message from someone@bulkmail.example\n"
        "  Subject of   Hello there\n"
        "  Delete   :  Domain \"bulkmail.example\" is on the KNOWN SPAMMER BLACKLIST (you may edit if this is in error)\n"
        "0\t%5\n"
        "  Message from 123456@numbers.example\n"
        "  Subject of   hi\n"
        "  Delete   :  E-mail address All numeric\n"
        "1\t%6\n"
        "  Message from joe@one.example\n"
        "  Subject of   Meeting\n"
        "  Question :  Header Sender \"other@two.example does not match Reply-to joe@one.example\" \n"
        // No From at all: a Reply-To does not match an empty sender.
        "0\t%7\n"
        "  Message from \n"
        "  Subject of   Meeting\n"
        "  Delete   :  E-mail address All numeric\n"
        "  Question :  Header Sender \"other@two.example does not match Reply-to \" \n"
        // A stray Latin-1 byte on another line leaves this UTF-8 subject alone.
        "-1\t%8\n"
        "  Message from friend@ok.example\n"
        "  Subject of   Caf\u00e9 and lottery results\n"
        "  Message was neither on the exception list nor on the list of matching criteria\n"
        "1\t%9\n"
        "  Message from friend@ok.example\n"
        "  Subject of   Holiday pictures\n"
        "  Question :  Size larger than \"1500\" \n")
        .arg(mail("family.eml"), mail("free.eml"), mail("shouting.eml"), mail("listed.eml"),
             mail("numeric.eml"), mail("replyto.eml"), mail("noreply.eml"), mail("plain.eml"))
        .arg(mail("big.eml"));
    EXPECT_EQ(run.out.toStdString(), expected.toStdString());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("tarnwick-classify: cannot read %1: ").arg(missing)))
        << run.err.toStdString();
    EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
    expectRulesUnchanged();
}

// The data folder from the environment this time, and one line per file without --why.
TEST_F(ClassifyTool, DamagedRuleFileIsReportedAndTheRestStillWorks)
{
    QFile subj(rules.filePath(QStringLiteral("subj.lst")));
    ASSERT_TRUE(subj.open(QIODevice::Append));
    subj.write("garbage line\r\n9,9999,x\r\n");
    subj.close();
    original[QStringLiteral("subj.lst")] = readAll(subj.fileName());
    const ToolRun run = classify({mail("free.eml"), mail("plain.eml"), mail("listed.eml")}, rules.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringLiteral("0\t%1\n-1\t%2\n2\t%3\n").arg(mail("free.eml"), mail("plain.eml"), mail("listed.eml")));
    EXPECT_EQ(run.err.count(QStringLiteral("tarnwick-classify: warning: subj.lst line ")), 2) << run.err.toStdString();
    expectRulesUnchanged();
}

TEST(ClassifyToolUsage, HelpAndUsageErrors)
{
    const ToolRun help = classify({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: tarnwick-classify [--data DIR] [--why] FILE...")));
    EXPECT_TRUE(classify({}).err.contains(QStringLiteral("Usage:")));
    for (const QStringList &args : {QStringList{}, {"--bogus", mail("free.eml")}, {"--data", kData + "/no-such-folder", mail("free.eml")}}) {
        const ToolRun run = classify(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(args.isEmpty() || run.out.isEmpty());
    }
}

} // namespace
