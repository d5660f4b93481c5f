// Arbitrary bytes as a rule-list file (each of the four lists) and as "tarnwick.ini".
// Reading must never crash, the tables must keep their shape, writing and reading again
// must give the same file, and an evaluation over the damaged rules must not crash either.

#include "evaluator.h"
#include "inifile.h"
#include "ruletable.h"
#include "rulewords.h"
#include "spamsettings.h"
#include "textutil.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Stops the run at a broken expectation, naming its line (the inlined check has none).
void check(bool condition, int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", __FILE__, line);
        std::abort();
    }
}

void readInto(RuleTable &table, const QStringList &lines)
{
    table.ReadLines(lines);
    check(table.RowCount() >= 2);
    check(table.ColCount() == (table.kind() == RuleTable::Kind::Except ? 7 : 6));
    check(table.rowCount() == table.RowCount() - 1);
    const QStringList written = table.WriteLines();
    RuleTable again(table.kind());
    again.ReadLines(written);
    const QStringList rewritten = again.WriteLines();
    for (qsizetype i = 0; i < std::min(written.size(), rewritten.size()); ++i)
        if (written.at(i) != rewritten.at(i))
            std::fprintf(stderr, "line %lld: \"%s\" read back as \"%s\"\n", static_cast<long long>(i),
                         written.at(i).toUtf8().toPercentEncoding(" ,").constData(),
                         rewritten.at(i).toUtf8().toPercentEncoding(" ,").constData());
    check(rewritten == written);
    for (int row = 1; row < table.RowCount(); ++row) {
        const int picture = ExceptionPicture(table.Cells(6, row));
        check(picture >= FirstExceptionPicture && picture <= LastExceptionPicture);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = SplitLines(DecodeUtf8OrLatin1(bytes));

    TSpamSettings settings(QStringLiteral("/nonexistent"));
    readInto(settings.gridSubject, lines);
    readInto(settings.gridHeader, lines);
    readInto(settings.gridFrom, lines);
    readInto(settings.gridExcept, lines);
    settings.smaller = {true, 10, false};

    // The same lines as a message's header lines, against the rules they made.
    TKnownList known;
    known.SetEntries(lines.mid(0, 64));
    TMessageRowList rows;
    const QString first = lines.value(0);
    rows.rows.append({first, first, QString::number(size), lines.mid(0, 64), 1, -1});
    TRuleEvaluator evaluator(settings, known, &rows);
    evaluator.MarkForDeletion(-1);
    const int mark = rows.rows.first().mark;
    check(mark >= -1 && mark <= 14);
    evaluator.WhyMarked(0);
    check(rows.rows.first().mark == mark);

    TIniFile ini;
    ini.SetLines(lines);
    for (const QString &section : ini.Sections())
        for (const QString &key : ini.Keys(section))
            ini.ReadString(section, key);
    ini.WriteString(QStringLiteral("Known"), QStringLiteral("QMonitor"), QStringLiteral("1"));
    check(ini.ReadBool(QStringLiteral("known"), QStringLiteral("qmonitor"), false));
    ini.WriteInteger(QStringLiteral("Smaller"), QStringLiteral("Num"), 42);
    check(ini.ReadInteger(QStringLiteral("SMALLER"), QStringLiteral("NUM"), 0) == 42);
    return 0;
}
