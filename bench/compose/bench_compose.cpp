// How fast a message is written out: a text of 20,000 Latin-1 lines (quoted-printable), a binary
// attachment of 7.5 MB (base64) and an HTML attachment of about 1 MB (quoted-printable).
// Throughput is reported in bytes of output per second.

#include "msencode.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

TmsMessage LargeMessage()
{
    TmsMessage m;
    m.Sender().SetAddress("a@example.com");
    TmsMailAddress to;
    to.SetAddress("b@example.com");
    m.Recipients().Append(to);
    m.SetSubject("big");
    for (int i = 0; i < 20000; ++i)
        m.Body() << QString::fromUtf8("Dear customer, your caf\u00e9 order number %1 has shipped; thanks.").arg(i);
    QByteArray binary(7500000, Qt::Uninitialized);
    QRandomGenerator random(1);
    for (char &c : binary)
        c = char(random.bounded(256));
    TmsAttItem pdf;
    pdf.SetFileName("report.pdf");
    pdf.SetData(binary);
    m.Attachments().Append(pdf);
    QByteArray html;
    for (int i = 0; i < 15000; ++i)
        html += "<p class=\"x\">Paragraph " + QByteArray::number(i) + " of the page, a line of ordinary length.</p>\r\n";
    TmsAttItem page;
    page.SetFileName("page.html");
    page.SetData(html);
    m.Attachments().Append(page);
    return m;
}

void BM_LargeMessage(benchmark::State &state)
{
    static const TmsMessage message = LargeMessage();
    qint64 bytes = 0;
    for (auto _ : state) {
        QRandomGenerator random(7);
        const QByteArray text = TmsMessageEncoder(message, &random).Encode();
        bytes += text.size();
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_LargeMessage)->Unit(benchmark::kMillisecond);

void BM_QuotedPrintable(benchmark::State &state)
{
    QByteArray text;
    for (int i = 0; i < 20000; ++i)
        text += "Gr\xfc\xdf" "e aus der Stadt = " + QByteArray::number(i) + QByteArray(40, 'w') + " und mehr Text\r\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeQuotedPrintable(text));
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_QuotedPrintable)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
