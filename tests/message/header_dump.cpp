// Prints, per message file, what Tarnwick reads from its header: the sender's address, the
// subject and the date's instant in UTC, separated by 0x1f, one line per file. The Python
// comparison reads this.
#include "address.h"
#include "headers.h"
#include "maildate.h"

#include <QFile>
#include <cstdio>

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        const QByteArray bytes = file.readAll();
        TmsHeaders headers = DecodeHeaderLines(bytes);
        TruncateAtBody(headers);
        const std::optional<TmsMailDate> date = ParseMailDate(GetFieldValue(headers, QStringLiteral("Date")));
        const QString line = SenderAddress(headers) + u'\x1f' + GetFieldValue(headers, QStringLiteral("Subject"))
            + u'\x1f' + (date ? date->dateTime.toUTC().toString(Qt::ISODate) : QString()) + u'\n';
        std::fputs(line.toUtf8().constData(), stdout);
    }
    return 0;
}
