// tarnwick-cli show: a saved message printed and its attachments written, run as the user runs it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun { int exitCode = -1; QString out, err; };

ToolRun Cli(const QStringList &args, const QString &workDir)
{
    QProcess p;
    p.setWorkingDirectory(workDir);
    p.start(QStringLiteral(CLI_BINARY), QStringList{QStringLiteral("show")} + args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QByteArray Crlf(const char *text) { return QByteArray(text).replace("\n", "\r\n"); }

bool WriteFile(const QString &path, const QByteArray &bytes) { QFile f(path); return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size(); }

QByteArray ReadFile(const QString &path) { QFile f(path); return f.open(QIODevice::ReadOnly) ? f.readAll() : "<missing>"; }

const QByteArray kMessage = Crlf(
    "MIME-Version: 1.0\n"
    "From: \"Ann Example\" <ann@example.com>\n"
    "To: bob@example.com, \"Doe, Jo\" <jo@example.com>\n"
    "Subject: Report \x1b[2J\n"
    "Date: Tue, 5 Jan 2021 10:20:30 +0100\n"
    "Content-Type: multipart/mixed; boundary=b\n"
    "\n"
    "--b\n"
    "Content-Type: text/plain; charset=iso-8859-1\n"
    "Content-Transfer-Encoding: quoted-printable\n"
    "\n"
    "Caf=E9 at =\n"
    "noon.\n"
    "--b\n"
    "Content-Type: application/pdf; name=\"../../report.pdf\"\n"
    "Content-Transfer-Encoding: base64\n"
    "\n"
    "UERGLTEu\n"
    "NA==\n"
    "--b\n"
    "Content-Type: application/octet-stream; name=\"/etc/passwd\"\n"
    "\n"
    "root\n"
    "--b\n"
    "Content-Type: application/octet-stream; name=\"..\"\n"
    "\n"
    "dots\n"
    "--b--\n");

class CliShow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(WriteFile(tmp.filePath(QStringLiteral("m.eml")), kMessage));
    }
    QString Path(const QString &name) const { return tmp.filePath(name); }
    QTemporaryDir tmp;
};

TEST_F(CliShow, PrintsTheMessage)
{
    const ToolRun run = Cli({QStringLiteral("m.eml")}, tmp.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QString::fromUtf8("From: Ann Example <ann@example.com>\n"
                                         "To: bob@example.com, \"Doe, Jo\" <jo@example.com>\n"
                                         "Subject: Report ?[2J\n"
                                         "Date: Tue, 5 Jan 2021 10:20:30 +0100\n"
                                         "\n"
                                         "Caf\u00e9 at noon.\n"
                                         "\n"
                                         "Attachment\treport.pdf\tapplication/pdf\t7 bytes\n"
                                         "Attachment\tpasswd\tapplication/octet-stream\t6 bytes\n"
                                         "Attachment\tatt.2\tapplication/octet-stream\t6 bytes\n"));
    EXPECT_EQ(run.err, QString());
}

// For scripts: one JSON document, the texts as they are (JSON escapes what a terminal must not
// see), and the files written listed instead of printed.
TEST_F(CliShow, JsonHoldsTheFieldsTheBodyAndTheAttachments)
{
    const ToolRun run = Cli({"m.eml", "--json", "--save-attachments", "out"}, tmp.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_EQ(json["from"].toString(), QStringLiteral("Ann Example <ann@example.com>"));
    EXPECT_EQ(json["to"].toArray(), (QJsonArray{"bob@example.com", "\"Doe, Jo\" <jo@example.com>"}));
    EXPECT_EQ(json["subject"].toString(), QStringLiteral("Report \x1b[2J"));
    EXPECT_EQ(json["date"].toString(), QStringLiteral("Tue, 5 Jan 2021 10:20:30 +0100"));
    EXPECT_EQ(json["body"].toString(), QString::fromUtf8("Caf\u00e9 at noon."));
    QStringList attachments;
    for (const QJsonValue &a : json["attachments"].toArray())
        attachments << QStringLiteral("%1 %2 %3").arg(a["name"].toString(), a["contentType"].toString()).arg(a["size"].toInt());
    EXPECT_EQ(attachments, (QStringList{"report.pdf application/pdf 7", "passwd application/octet-stream 6",
                                        "att.2 application/octet-stream 6"}));
    EXPECT_EQ(json["saved"].toArray().size(), 3);
    EXPECT_EQ(QDir(Path("out")).entryList(QDir::Files).size(), 3);
}

TEST_F(CliShow, SavesInsideTheFolderAndNeverOverwrites)
{
    const QString outDir = Path(QStringLiteral("out"));
    // Taken names: a file of the user's, and a link that points outside the folder.
    ASSERT_TRUE(QDir().mkpath(outDir));
    ASSERT_TRUE(WriteFile(outDir + QStringLiteral("/passwd"), "mine"));
    ASSERT_TRUE(QFile::link(Path(QStringLiteral("target")), outDir + QStringLiteral("/report.pdf")));

    for (int round = 0; round < 2; ++round) {
        const ToolRun run = Cli({"m.eml", "--save-attachments", "out"}, tmp.path());
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    const QStringList expected{"att (1).2", "att.2", "passwd", "passwd (1)", "passwd (2)", "report (1).pdf", "report (2).pdf", "report.pdf"};
    EXPECT_EQ(QDir(outDir).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name), expected);
    EXPECT_EQ(ReadFile(outDir + QStringLiteral("/passwd")), QByteArray("mine"));
    EXPECT_EQ(ReadFile(outDir + QStringLiteral("/passwd (1)")), QByteArray("root\r\n"));
    EXPECT_EQ(ReadFile(outDir + QStringLiteral("/report (2).pdf")), QByteArray("PDF-1.4"));
    EXPECT_EQ(ReadFile(outDir + QStringLiteral("/att (1).2")), QByteArray("dots\r\n"));
    // Nothing beside the folder: no link followed, no name climbed out.
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("target"))));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{QStringLiteral("m.eml"), QStringLiteral("out")}));
}

TEST_F(CliShow, FailuresSayWhatWentWrong)
{
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("broken.eml")),
                          Crlf("From: Ann <ann@example.com>\nSubject: Lunch\nMIME-Version: 1.0\n"
                               "Content-Type: multipart/mixed; boundary=never\n\ntext\n")));
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("notb64.eml")),
                          Crlf("From: bob@example.com\nMIME-Version: 1.0\nContent-Transfer-Encoding: base64\n\n"
                               "*** not base64 ***\n")));
    const struct { QStringList args; int exitCode; const char *errPart; } cases[] = {
        {{QStringLiteral("broken.eml")}, 1, "broken.eml: Cannot find boundary"},
        {{QStringLiteral("notb64.eml")}, 1, "notb64.eml: Invalid Character"},
        {{QStringLiteral("missing.eml")}, 1, "Cannot open the message file \"missing.eml\""},
        {{}, 2, "show: no message file given"},
        {{QStringLiteral("m.eml"), QStringLiteral("--save-attachments")}, 2, "--save-attachments needs a folder"},
        {{QStringLiteral("m.eml"), QStringLiteral("--bogus")}, 2, "show: unknown option --bogus"},
        {{QStringLiteral("m.eml"), QStringLiteral("m.eml")}, 2, "show takes one message file"},
        {{"m.eml", "--save-attachments", "m.eml/sub"}, 1, "cannot create the folder m.eml/sub"},
    };
    for (const auto &c : cases) {
        const ToolRun run = Cli(c.args, tmp.path());
        EXPECT_EQ(run.exitCode, c.exitCode) << c.errPart;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.errPart))) << run.err.toStdString();
    }

    // Who and what come first even when the body is broken, then the explanation, then what
    // was read.
    EXPECT_EQ(Cli({QStringLiteral("broken.eml")}, tmp.path()).out,
              QStringLiteral("From: Ann <ann@example.com>\nTo: \nSubject: Lunch\nDate: \n\n"
                             "The following error has been occured while processing the message:\n"
                             "Cannot find boundary\nThe original message will be stored as an attachment\n\n"
                             "Attachment\toriginal.eml\tmessage/rfc822\t119 bytes\n"));
    // A broken message still gives up the original when asked to save.
    const ToolRun run = Cli({"broken.eml", "--save-attachments", "keep"}, tmp.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(ReadFile(Path(QStringLiteral("keep/original.eml"))), ReadFile(Path(QStringLiteral("broken.eml"))));
}

} // namespace
