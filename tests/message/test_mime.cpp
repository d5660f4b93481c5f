#include "mspars.h"

#include "print_qt.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A message as a server sends it: lines ended by CR LF.
QByteArray Crlf(const char *text)
{
    QByteArray bytes(text);
    bytes.replace("\n", "\r\n");
    return bytes;
}

TmsMessage Parse(const QByteArray &raw)
{
    TmsMessage message;
    QBuffer buffer;
    buffer.setData(raw);
    buffer.open(QIODevice::ReadOnly);
    LoadFromStream(message, buffer);
    return message;
}

struct Att {
    QString name; QString type; TmsAttEncoding kind; QByteArray data;
    bool operator==(const Att &) const = default;
};

void PrintTo(const Att &a, std::ostream *os)
{
    *os << "{" << a.name.toStdString() << ", " << a.type.toStdString() << ", " << int(a.kind) << ", ";
    PrintTo(a.data, os);
    *os << "}";
}

QList<Att> Atts(const TmsMessage &m)
{
    QList<Att> out;
    for (const TmsAttItem &item : m.Attachments())
        out.append({item.FileName(), item.ContentType(), item.Encoding(), item.Data()});
    return out;
}

QStringList ErrorLines(const QString &text)
{
    return {QStringLiteral("The following error has been occured while processing the message:"), text,
            QStringLiteral("The original message will be stored as an attachment")};
}

Att Original(const QByteArray &raw)
{
    return {QStringLiteral("original.eml"), QStringLiteral("message/rfc822"), aeSevenBit, raw};
}

TEST(LineStream, HandsOutEveryLineWhole)
{
    const QByteArray longLine(3 * TLineStream::kBlockSize + 17, 'x');
    const struct { const char *what; QByteArray input; QList<QByteArray> lines; } cases[] = {
        {"empty input", "", {}},
        {"CR LF and LF", "a\r\nb\nc\r\n", {"a", "b", "c"}},
        {"last line without a break", "a\nlast", {"a", "last"}},
        {"a line longer than a block", "a\n" + longLine + "\r\nb", {"a", longLine, "b"}},
        {"CR LF split at the block end",
         QByteArray(TLineStream::kBlockSize - 1, 'y') + "\r\nz", {QByteArray(TLineStream::kBlockSize - 1, 'y'), "z"}},
    };
    for (const auto &c : cases) {
        QBuffer buffer;
        buffer.setData(c.input);
        buffer.open(QIODevice::ReadOnly);
        TLineStream reader(buffer);
        QList<QByteArray> got;
        QByteArray line;
        while (reader.ReadLine(line) && got.size() < 100)
            got.append(line);
        EXPECT_EQ(got, c.lines) << c.what;
        reader.Reset();
        ASSERT_EQ(reader.ReadLine(line), !c.lines.isEmpty()) << c.what;
        if (!c.lines.isEmpty()) {
            EXPECT_EQ(line, c.lines.first()) << c.what;
        }
    }
}

TEST(QuotedPrintable, SoftBreaksEscapesAndLimits)
{
    const struct { const char *what; QList<QByteArray> lines; QByteArray bytes; } cases[] = {
        {"blanks after the soft break", {"one =  \t", "two"}, "one two\r\n"},
        {"lower-case hex and an invalid escape", {"=e9=ZZ=4"}, "\xE9=ZZ=4\r\n"},
        {"escaped line breaks stay in the text", {"x=0D=0Ay"}, "x\r\ny\r\n"},
        {"byte 26 ends without a line break", {"end=1A"}, "end\x1A"},
        {"empty line", {""}, "\r\n"},
    };
    for (const auto &c : cases) {
        QList<QByteArray> lines = c.lines;
        QByteArray out;
        TQuotedPrintable(out, lines).Decode();
        EXPECT_EQ(out, c.bytes) << c.what;
    }

    // A paragraph just within the limit decodes; one byte more is refused.
    for (const bool over : {false, true}) {
        QList<QByteArray> lines;
        const qsizetype total = TQuotedPrintable::kParagraphLimit - 2 + (over ? 1 : 0);
        for (qsizetype done = 0; done < total; done += 64)
            lines.append(QByteArray(std::min<qsizetype>(64, total - done), 'q') + "=");
        lines.append("");
        QByteArray out;
        if (over) {
            EXPECT_THROW(TQuotedPrintable(out, lines).Decode(), EMimeDecodeError);
        } else {
            TQuotedPrintable(out, lines).Decode();
            EXPECT_EQ(out.size(), TQuotedPrintable::kParagraphLimit);
        }
    }
}

TEST(Attachment, NamesAreReducedToPlainFileNames)
{
    // Folders, "..", control characters and long names are met through the parser below.
    const struct { QString raw; QString safe; } cases[] = {
        {QStringLiteral("x\u202Egpj.exe"), QStringLiteral("xgpj.exe")}, {QStringLiteral("."), QString()},
        {QStringLiteral("dir/"), QString()}, {QStringLiteral(".bashrc"), QStringLiteral("bashrc")},
        {QStringLiteral("  name.txt . "), QStringLiteral("name.txt")}, {QStringLiteral("\x01\x02"), QString()},
        {QStringLiteral("\u00e9t\u00e9.txt"), QStringLiteral("\u00e9t\u00e9.txt")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SafeAttachmentFileName(c.raw), c.safe) << c.raw.toStdString();
}

TEST(Attachment, FileNameSetsTypeAndKind)
{
    // size: for names holding NUL characters
    const struct { const char *name; const char *type; TmsAttEncoding kind; qsizetype size = -1; } cases[] = {
        {"notes.txt", "text/plain", aeQuotedPrintable},
        {"page.HTML", "text/html", aeQuotedPrintable},
        {"mail.eml", "message/rfc822", aeSevenBit},
        {"paper.pdf", "application/pdf", aeBase64},
        {"data.no-such-extension", "application/octet-stream", aeBase64},
        // Names from a hostile message: control characters never reach the MIME lookup
        // (two NULs in a row made Qt read past its cache).
        {"a\0\0.htm", "text/html", aeQuotedPrintable, 7},
        {"_htm}\0\0\0.htm", "text/html", aeQuotedPrintable, 12},
        {"page.htm\0\0", "application/octet-stream", aeBase64, 10},
        {"file.tta\r", "application/octet-stream", aeBase64},
        // NULs, control characters and folders in a name from outside do not disturb the lookup.
        {"pa\0per.pdf", "application/pdf", aeBase64, 10},
        {"dir/\x01paper.pdf", "application/pdf", aeBase64},
    };
    for (const auto &c : cases) {
        TmsAttItem item;
        item.SetContentType(QStringLiteral("x/old"));
        item.SetFileName(QString::fromLatin1(c.name, c.size < 0 ? qsizetype(qstrlen(c.name)) : c.size));
        EXPECT_EQ(item.ContentType(), QString::fromLatin1(c.type)) << c.name;
        EXPECT_EQ(item.Encoding(), c.kind) << c.name;
    }
    // An empty name changes neither.
    TmsAttItem item;
    item.SetContentType(QStringLiteral("x/old"));
    item.SetFileName(QString());
    EXPECT_EQ(item.ContentType(), QStringLiteral("x/old"));
}

struct ParseCase { const char *what; QByteArray raw; QStringList body; QList<Att> atts; };

void ExpectParse(const ParseCase &c)
{
    const TmsMessage m = Parse(c.raw);
    EXPECT_EQ(m.Body(), c.body) << c.what;
    EXPECT_EQ(Atts(m), c.atts) << c.what;
}

TEST(MessageParser, SinglePartBodies)
{
    const QString e = QStringLiteral("\u00e9");
    const ParseCase cases[] = {
        {"plain message", Crlf("From: a@b\nSubject: s\n\nline 1\n\nline 3\n"),
         {QStringLiteral("line 1"), QString(), QStringLiteral("line 3")}, {}},
        {"MIME without Content-Type is one text", Crlf("MIME-Version: 1.0\n\nhello\n"), {QStringLiteral("hello")}, {}},
        {"no empty line after the header: all header", Crlf("Subject: x\nFrom: y"), {}, {}},
        {"quoted-printable with soft breaks and 8-bit bytes",
         Crlf("MIME-Version: 1.0\nContent-Type: text/plain; charset=iso-8859-1\n"
              "Content-Transfer-Encoding: quoted-printable\n\nCaf=E9 au =\nlait, tr=\n=E8s bon\nmath: 1+1=3D2\n"),
         {QStringLiteral("Caf\u00e9 au lait, tr\u00e8s bon"), QStringLiteral("math: 1+1=2")}, {}},
        {"a raw line ending in =3D keeps its break",
         Crlf("MIME-Version: 1.0\nContent-Transfer-Encoding: Quoted-Printable\n\nx =3D\ny\n"),
         {QStringLiteral("x ="), QStringLiteral("y")}, {}},
        {"base64 decoded over joined lines",
         Crlf("MIME-Version: 1.0\nContent-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: base64\n\n"
              "SGVsbG8s\nIHfD\r\n  qXRl IQp\t0\nd28K\n"),
         {QStringLiteral("Hello, w") + e + QStringLiteral("te!"), QStringLiteral("two")}, {}},
        {"last line of a single dot is dropped", Crlf("Subject: x\n\ntext\n.\n"), {QStringLiteral("text")}, {}},
        {"only the last dot goes", Crlf("Subject: x\n\n.\ntext\n"), {QStringLiteral("."), QStringLiteral("text")}, {}},
        {"MIME-Version with a comment counts",
         Crlf("MIME-Version: 1.0 (produced by Mailer 2)\nContent-Transfer-Encoding: quoted-printable\n\na=3Db\n"),
         {QStringLiteral("a=b")}, {}},
        {"other MIME versions are plain",
         Crlf("MIME-Version: 1.1\nContent-Transfer-Encoding: quoted-printable\n\na=3Db\n"),
         {QStringLiteral("a=3Db")}, {}},
    };
    for (const ParseCase &c : cases)
        ExpectParse(c);
}

TEST(MessageParser, SinglePartPropertiesAndFailures)
{
    const TmsMessage qp = Parse(Crlf("MIME-Version: 1.0\nContent-Type: TEXT/HTML\n"
                                     "Content-Transfer-Encoding: quoted-printable\n\n<p>x</p>\n"));
    EXPECT_EQ(qp.CharSet(), csISO8859);
    EXPECT_EQ(qp.ContentType(), QStringLiteral("text/html"));
    EXPECT_EQ(qp.Encoding(), meMIME);

    const TmsMessage plain = Parse(Crlf("Subject: x\n\nbody\n"));
    EXPECT_EQ(plain.CharSet(), csUSASCII);
    EXPECT_EQ(plain.ContentType(), QString());

    // A single-part body that is not base64 at all is the caller's error, not a broken structure.
    EXPECT_THROW(Parse(Crlf("MIME-Version: 1.0\nContent-Transfer-Encoding: base64\n\nnot*base64\n")),
                 EMimeDecodeError);

    TmsMessage m;
    m.SetSubject(QStringLiteral("old"));
    QTemporaryDir dir;
    try {
        LoadFromFile(m, dir.filePath(QStringLiteral("missing.eml")));
        ADD_FAILURE() << "a missing file loaded";
    } catch (const EMessageFileError &error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("missing.eml"))) << error.what();
    }
    EXPECT_EQ(m.Subject(), QString()) << "LoadFromFile clears the message first";
}

TEST(MessageParser, CharacterSets)
{
    const struct { const char *what; QByteArray raw; QString line; } cases[] = {
        {"ISO-8859-1", "MIME-Version: 1.0\nContent-Type: text/plain; charset=\"ISO-8859-1\"\n\nna\xEFve\n",
         QStringLiteral("na\u00efve")},
        {"UTF-8", "MIME-Version: 1.0\nContent-Type: text/plain; charset=utf-8\n\nna\xC3\xAFve \xE2\x82\xAC\n",
         QStringLiteral("na\u00efve \u20ac")},
        {"windows-1252", "MIME-Version: 1.0\nContent-Type: text/plain; charset=windows-1252\n\n\x80 5 \x93q\x94\n",
         QStringLiteral("\u20ac 5 \u201cq\u201d")},
        {"unknown charset, UTF-8 bytes", "MIME-Version: 1.0\nContent-Type: text/plain; charset=x-nonsense\n\n\xC3\xA9\n",
         QStringLiteral("\u00e9")},
        {"no charset, Latin-1 bytes", "Subject: x\n\ncaf\xE9\n", QStringLiteral("caf\u00e9")},
        {"multipart text part",
         "MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=b\n\n--b\n"
         "Content-Type: text/plain; charset=windows-1252\n\n\x80\n--b--\n",
         QStringLiteral("\u20ac")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Parse(c.raw).Body(), QStringList{c.line}) << c.what;
}

TEST(MessageParser, Multipart)
{
    const QByteArray pdf("PDF-1.4 binary \x00\x01\xff data", 23);
    const ParseCase cases[] = {
        {"text and a named base64 attachment, decoded over joined lines",
         Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"=_b 1\"\n\npreamble\n--=_b 1\n"
              "Content-Type: text/plain\n\nHello\n--=_b 1\n"
              "Content-Type: application/pdf; name=\"paper.pdf\"\nContent-Transfer-Encoding: base64\n\n"
              "UERGLTEuNCBiaW\n5h cnkgAAH/\tIGRhdGE=\n--=_b 1--\nepilogue\n"),
         {QStringLiteral("Hello")},
         {{QStringLiteral("paper.pdf"), QStringLiteral("application/pdf"), aeBase64, pdf}}},
        {"unnamed parts are att.N, kind from the part, type kept; filename from the disposition",
         Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=b\n\n--b\n\nbody\n--b\n"
              "Content-Type: image/png\n\nraw1\nraw2\n--b\nContent-Type: application/x-thing\n"
              "Content-Transfer-Encoding: quoted-printable\nContent-Disposition: attachment; filename=\"n.txt\"\n\n"
              "a=3Db\n--b\nContent-Type: text/csv\n\n1,2\n--b--\n"),
         {QStringLiteral("body")},
         {{QStringLiteral("att.0"), QStringLiteral("image/png"), aeSevenBit, "raw1\r\nraw2\r\n"},
          {QStringLiteral("n.txt"), QStringLiteral("text/plain"), aeQuotedPrintable, "a=b\r\n"},
          {QStringLiteral("att.2"), QStringLiteral("text/csv"), aeSevenBit, "1,2\r\n"}}},
        {"no closing boundary: the last part takes every remaining line",
         Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=b\n\n--b\n\ntext\n--b\n"
              "Content-Type: text/plain; name=rest.txt\n\nr1\n\nr2\n"),
         {QStringLiteral("text")},
         {{QStringLiteral("rest.txt"), QStringLiteral("text/plain"), aeSevenBit, "r1\r\n\r\nr2\r\n"}}},
        {"empty text part gives one empty line",
         Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=b\n\n--b\n\n--b--\n"), {QString()}, {}},
        {"multipart/alternative: the HTML part is _alt.0",
         Crlf("MIME-Version: 1.0\nContent-Type: multipart/alternative; boundary=alt\n\n--alt\n"
              "Content-Type: text/plain; charset=us-ascii\nContent-Transfer-Encoding: quoted-printable\n\n"
              "plain =\ntext\n--alt\nContent-Type: text/html\n\n<p>html</p>\n--alt--\n"),
         {QStringLiteral("plain text")},
         {{QStringLiteral("_alt.0"), QStringLiteral("text/html"), aeSevenBit, "<p>html</p>\r\n"}}},
        {"alternative nested in mixed, then a named attachment and an unnamed one",
         Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=out\n\n--out\n"
              "Content-Type: multipart/alternative; boundary=in\n\n--in\nContent-Type: text/plain\n\nthe text\n"
              "--in\nContent-Type: text/html\n\n<b>the text</b>\n--in--\n\n--out\n"
              "Content-Type: application/pdf; name=a.pdf\nContent-Transfer-Encoding: base64\n\nQUJD\n--out\n"
              "Content-Type: application/zip\nContent-Transfer-Encoding: base64\n\nWFla\n--out--\n"),
         {QStringLiteral("the text")},
         {{QStringLiteral("_alt.0"), QStringLiteral("text/html"), aeSevenBit, "<b>the text</b>\r\n"},
          {QStringLiteral("a.pdf"), QStringLiteral("application/pdf"), aeBase64, "ABC"},
          {QStringLiteral("att.2"), QStringLiteral("application/zip"), aeBase64, "XYZ"}}},
        {"a nested alternative with a single alternative",
         Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=out\n\n--out\n"
              "Content-Type: multipart/alternative; boundary=in\n\n--in\n\nonly\n--in--\n--out\n"
              "Content-Type: text/plain; name=n.txt\n\nnote\n--out--\n"),
         {QStringLiteral("only")},
         {{QStringLiteral("n.txt"), QStringLiteral("text/plain"), aeSevenBit, "note\r\n"}}},
        {"related inside mixed: the text inside is the body, the image att.1",
         Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=a\n\n--a\n"
              "Content-Type: multipart/related; boundary=r\n\n--r\n"
              "Content-Type: multipart/alternative; boundary=l\n\n--l\n\ntext\n--l\nContent-Type: text/html\n\n"
              "<i>x</i>\n--l--\n--r\nContent-Type: image/gif\nContent-Transfer-Encoding: base64\n\nR0lG\n--r--\n--a--\n"),
         {QStringLiteral("text")},
         {{QStringLiteral("_alt.0"), QStringLiteral("text/html"), aeSevenBit, "<i>x</i>\r\n"},
          {QStringLiteral("att.1"), QStringLiteral("image/gif"), aeBase64, "GIF"}}},
        {"a base64 first part is an attachment",
         Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=b\n\n--b\n"
              "Content-Type: text/plain\nContent-Transfer-Encoding: BASE64\n\naGk=\n--b--\n"),
         {},
         {{QStringLiteral("att.0"), QStringLiteral("text/plain"), aeBase64, "hi"}}},
        {"x-uuencode part",
         Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=b\n\n--b\n\nt\n--b\n"
              "Content-Type: application/octet-stream; name=c.bin\nContent-Transfer-Encoding: x-uuencode\n\n"
              "begin 644 c.bin\n#0V%T\n`\nend\n--b--\n"),
         {QStringLiteral("t")},
         {{QStringLiteral("c.bin"), QStringLiteral("application/octet-stream"), aeBase64, "Cat"}}},
        {"single attachment message up to a line of a dot",
         Crlf("MIME-Version: 1.0\nContent-Type: application/pdf\nContent-Transfer-Encoding: base64\n\nQUJD\n.\n"),
         {},
         {{QStringLiteral("att.0"), QStringLiteral("application/pdf"), aeBase64, "ABC"}}},
        {"text with a name is a single attachment",
         Crlf("MIME-Version: 1.0\nContent-Type: text/plain; name=\"n.txt\"\n\nline\n"),
         {},
         {{QStringLiteral("n.txt"), QStringLiteral("text/plain"), aeSevenBit, "line\r\n"}}},
        {"the name cc:Mail does not make an attachment",
         Crlf("MIME-Version: 1.0\nContent-Type: text/plain; name=cc:Mail\n\nline\n"), {QStringLiteral("line")}, {}},
    };
    for (const ParseCase &c : cases)
        ExpectParse(c);
}

TEST(MessageParser, BrokenStructureKeepsTheOriginal)
{
    const QByteArray noBoundary = Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=never\n\n"
                                       "--other\n\ntext\n");
    const QByteArray badBase64 = Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=b\n\n--b\n\ntext\n"
                                      "--b\nContent-Type: image/png\nContent-Transfer-Encoding: base64\n\n!!!!\n--b--\n");
    const QByteArray badUu = Crlf("Subject: x\n\nbefore\nbegin 644 a.bin\n#0V%\xff\nend\n");
    const QByteArray innerNeverCloses = Crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=out\n\n--out\n"
                                             "Content-Type: multipart/alternative; boundary=in\n\n--in\n\nt\n--in--\nrest\n");

    const ParseCase cases[] = {
        {"boundary never found", noBoundary, ErrorLines(QStringLiteral("Cannot find boundary")), {Original(noBoundary)}},
        {"attachment that is not base64", badBase64,
         QStringList{QStringLiteral("text")} + ErrorLines(QStringLiteral("Error decoding the attachment")),
         {Original(badBase64)}},
        {"uuencoded line with a bad character", badUu,
         QStringList{QStringLiteral("before")} + ErrorLines(QStringLiteral("Error decoding the attachment")),
         {Original(badUu)}},
        {"nested part whose outer boundary never comes back", innerNeverCloses,
         QStringList{QStringLiteral("t")} + ErrorLines(QStringLiteral("Cannot find closing boundary")),
         {Original(innerNeverCloses)}},
    };
    for (const ParseCase &c : cases)
        ExpectParse(c);
}

TEST(MessageParser, ManyPartsAndDeepNestingEndWithAnError)
{
    auto manyParts = [](int parts) {
        QByteArray raw = "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\ntext\r\n";
        for (int i = 1; i < parts; ++i)
            raw += "--b\r\nContent-Type: application/octet-stream\r\n\r\nx\r\n";
        return raw + "--b--\r\n";
    };
    auto nested = [](int depth) {
        QByteArray raw = "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=b0\r\n\r\n";
        for (int i = 0; i < depth; ++i)
            raw += "--b" + QByteArray::number(i) + "\r\nContent-Type: multipart/mixed; boundary=b"
                + QByteArray::number(i + 1) + "\r\n\r\n";
        raw += "--b" + QByteArray::number(depth) + "\r\n\r\ndeep text\r\n";
        for (int i = depth; i >= 0; --i)
            raw += "--b" + QByteArray::number(i) + "--\r\n";
        return raw;
    };
    const int maxParts = TmsMessageDecoder::kMaxParts;
    const int maxDepth = TmsMessageDecoder::kMaxDepth;
    // attachments: without original.eml; error: empty when parsed without one
    const struct { const char *what; QByteArray raw; int attachments; QString error; } cases[] = {
        {"as many parts as allowed", manyParts(maxParts), maxParts - 1, QString()},
        {"one part too many", manyParts(maxParts + 1), maxParts - 1,
         QStringLiteral("The message has more than %1 parts").arg(maxParts)},
        {"nested as deep as allowed", nested(maxDepth - 1), 0, QString()},
        {"nested one level too deep", nested(maxDepth), 0,
         QStringLiteral("The message's parts are nested more than %1 deep").arg(maxDepth)},
    };
    for (const auto &c : cases) {
        const TmsMessage m = Parse(c.raw);
        if (c.error.isEmpty()) {
            EXPECT_EQ(m.Attachments().Count(), c.attachments) << c.what;
            EXPECT_EQ(m.Body(), QStringList{QString::fromLatin1(c.attachments ? "text" : "deep text")}) << c.what;
        } else {
            ASSERT_EQ(m.Attachments().Count(), c.attachments + 1) << c.what;
            EXPECT_EQ(Atts(m).constLast(), Original(c.raw)) << c.what;
            EXPECT_EQ(m.Body().mid(m.Body().size() - 3), ErrorLines(c.error)) << c.what;
        }
    }
}

TEST(MessageParser, UuencodedFiles)
{
    const ParseCase cases[] = {
        {"uuencode in a plain message",
         Crlf("From: a@b\nSubject: file\n\nHere it is:\nbegin 644 cat.txt\n#0V%T\n`\nend\nBye\n"),
         {QStringLiteral("Here it is:"), QStringLiteral("Bye")},
         {{QStringLiteral("cat.txt"), QStringLiteral("text/plain"), aeQuotedPrintable, "Cat"}}},
        {"quoted name, four-digit mode, END in capitals",
         Crlf("Subject: f\n\nbegin 0644 \"my file.bin\"\n82&5L;&\\L(\'5U96YC;V1E9\"!W;W)L9\"$*\nEND\n"),
         {},
         {{QStringLiteral("my file.bin"), QStringLiteral("application/octet-stream"), aeBase64,
           "Hello, uuencoded world!\n"}}},
        {"a hostile name is reduced", Crlf("Subject: f\n\nbegin 644 ../../.ssh/x\n#0V%T\nend\n"), {},
         {{QStringLiteral("x"), QStringLiteral("application/octet-stream"), aeBase64, "Cat"}}},
        {"a name of dots only becomes att.N", Crlf("Subject: f\n\nbegin 644 ..\n#0V%T\nend\n"), {},
         {{QStringLiteral("att.0"), QStringLiteral("application/octet-stream"), aeBase64, "Cat"}}},
        {"text that only looks like a begin line",
         Crlf("Subject: plans\n\nBegin 2024 plans\nbegin 999 x\nbegin 644\nbegin 644 \nbeginning 644 x\nbegin  644 x\n"),
         {QStringLiteral("Begin 2024 plans"), QStringLiteral("begin 999 x"), QStringLiteral("begin 644"),
          QStringLiteral("begin 644 "), QStringLiteral("beginning 644 x"), QStringLiteral("begin  644 x")},
         {}},
        {"a grave-accent line without end, text after it",
         Crlf("Subject: f\n\nbegin 644 a\n#0V%T\n`\nafter\nbegin 644 b\n#0V%T\n`\n"),
         {QStringLiteral("after")},
         {{QStringLiteral("a"), QStringLiteral("application/octet-stream"), aeBase64, "Cat"},
          {QStringLiteral("b"), QStringLiteral("application/octet-stream"), aeBase64, "Cat"}}},
        {"a file without end takes the rest", Crlf("Subject: f\n\nbegin 644 a\n#0V%T\n"), {},
         {{QStringLiteral("a"), QStringLiteral("application/octet-stream"), aeBase64, "Cat"}}},
    };
    for (const ParseCase &c : cases)
        ExpectParse(c);

    EXPECT_EQ(Parse(cases[0].raw).Encoding(), meUU);
    EXPECT_EQ(Parse(cases[4].raw).Encoding(), meMIME);
}

TEST(MessageParser, UuencodeInMimeTextRestartsAsPlain)
{
    const QByteArray raw = Crlf("MIME-Version: 1.0\nFrom: Ann <ann@x>\nTo: b@x, c@x\nCc: d@x\n"
                                "Content-Type: text/plain\n\nSee file\nbegin 644 cat.txt\n#0V%T\n`\nend\n");
    const TmsMessage m = Parse(raw);
    EXPECT_EQ(m.Body(), QStringList{QStringLiteral("See file")});
    EXPECT_EQ(Atts(m), (QList<Att>{{QStringLiteral("cat.txt"), QStringLiteral("text/plain"), aeQuotedPrintable, "Cat"}}));
    EXPECT_EQ(m.Encoding(), meUU);
    EXPECT_EQ(m.Recipients().Count(), 2);
    // The message keeps its header as read.
    EXPECT_TRUE(m.Headers().contains(QStringLiteral("Content-Type: text/plain")));
}

TEST(MessageParser, AttachmentNamesAsMailersWriteThemNeverBecomePaths)
{
    const struct { const char *header; const char *name; } cases[] = {
        {"Content-Type: application/pdf\nContent-Disposition: attachment; filename*=UTF-8''r%C3%A9sum%C3%A9.pdf",
         "r\u00e9sum\u00e9.pdf"},
        {"Content-Type: application/pdf\nContent-Disposition: attachment;\n filename*0*=UTF-8''r%C3%A9;\n"
         " filename*1*=sum%C3%A9; filename*2=.pdf",
         "r\u00e9sum\u00e9.pdf"},
        {"Content-Type: text/plain\nContent-Disposition: attachment; filename*1=\"name.txt\"; filename*0=\"long \"",
         "long name.txt"},
        {"Content-Type: text/plain; name*=iso-8859-1'fr'caf%E9.txt", "caf\u00e9.txt"},
        {"Content-Type: application/pdf; name=\"ct.pdf\"\nContent-Disposition: attachment; filename=\"cd.pdf\"",
         "cd.pdf"},
        {"Content-Type: text/plain; x-note=\"name=evil.exe\"; name=ok.txt", "ok.txt"},
        {"Content-Type: text/plain; x-name=evil.exe\nContent-Disposition: attachment; xfilename=evil.exe", "att.0"},
        {"Content-Type: text/plain\nContent-Disposition: attachment; filename*=UTF-8''..%2F..%2Fetc%2Fpasswd", "passwd"},
        {"Content-Type: application/octet-stream\nContent-Disposition: attachment; filename=\"..\\\\..\\\\boot.ini\"",
         "boot.ini"},
        {"Content-Type: application/octet-stream; name=\"a\x01\x1b[31mb.txt\"", "a[31mb.txt"},
        {"Content-Type: application/octet-stream; name=\"=?utf-8?B?Li4vZXZpbC5zaA==?=\"", "evil.sh"},
        {"Content-Type: application/octet-stream; name=\"\"", "att.0"},
        {"Content-Type: application/octet-stream; name=\"..\"", "att.0"},
    };
    auto parse = [](const QByteArray &header) {
        return Parse("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=b\n\n--b\n\nt\n--b\n" + header
                     + "\n\ndata\n--b--\n");
    };
    for (const auto &c : cases) {
        const TmsMessage m = parse(c.header);
        ASSERT_EQ(m.Attachments().Count(), 1) << c.header;
        EXPECT_EQ(m.Attachments().Item(0).FileName(), QString::fromUtf8(c.name)) << c.header;
    }

    // A very long name is cut to a file name's length and keeps its extension and its type.
    const TmsMessage m = parse("Content-Type: application/octet-stream; name=\"" + QByteArray(2000000, 'a') + ".pdf\"");
    ASSERT_EQ(m.Attachments().Count(), 1);
    EXPECT_EQ(m.Attachments().Item(0).FileName(), QString(251, u'a') + QStringLiteral(".pdf"));
    EXPECT_EQ(m.Attachments().Item(0).ContentType(), QStringLiteral("application/pdf"));
}

} // namespace
