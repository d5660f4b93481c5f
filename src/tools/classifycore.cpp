#include "classifycore.h"

#include "address.h"
#include "evaluator.h"
#include "knownlist.h"
#include "spamsettings.h"
#include "textutil.h"
#include "wording.h"

#include <QFile>

bool ClassifyArguments::Take(const QString &arg)
{
    if (optionsDone || !arg.startsWith(u'-') || arg == u"-")
        files.append(arg);
    else if (arg == u"--")
        optionsDone = true;
    else if (arg == u"--why")
        why = true;
    else
        return false;
    return true;
}

TmsHeaders ReadHeaderLines(const QByteArray &bytes)
{
    QByteArray header;
    ForEachLine(bytes, [&header](const QByteArray &line) {
        if (line.isEmpty())
            return false;
        header += line;
        header += '\n';
        return true;
    });
    return DecodeHeaderLines(header);
}

int ClassifyFiles(const QString &folder, const QStringList &files, bool why,
                  const std::function<void(const QString &)> &out,
                  const std::function<void(const QString &)> &err)
{
    // Read only: nothing below ever saves the settings, so hit counts stay as they are.
    TSpamSettings settings(folder);
    settings.readSettings();
    for (const QString &problem : settings.ReadProblems())
        err(Said("Cli", "warning: %1").arg(problem));
    TKnownList known;
    QString knownError;
    known.LoadUpKnownList(folder + QStringLiteral("/known.lst"), &knownError);
    if (!knownError.isEmpty())
        err(Said("Cli", "warning: %1").arg(knownError));

    int status = 0;
    for (const QString &name : files) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            err(Said("Cli", "cannot read %1: %2").arg(name, file.errorString()));
            status = 1;
            continue;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            err(Said("Cli", "cannot read %1: %2").arg(name, file.errorString()));
            status = 1;
            continue;
        }

        TMessageRow row;
        row.headers = ReadHeaderLines(bytes);
        row.subject = GetFieldValue(row.headers, QStringLiteral("Subject"));
        row.sender = SenderAddress(row.headers);
        row.sizeText = QString::number(bytes.size());
        TMessageRowList rows;
        rows.rows.append(row);
        TRuleEvaluator evaluator(settings, known, &rows);
        evaluator.MarkForDeletion(0);
        out(QStringLiteral("%1\t%2\n").arg(rows.rows.first().mark).arg(name));
        if (why) {
            for (const QString &line : evaluator.WhyMarked(0))
                if (!line.isEmpty())
                    out(QStringLiteral("  ") + line + u'\n');
        }
    }
    return status;
}
