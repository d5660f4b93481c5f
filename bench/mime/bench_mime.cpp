// How fast a whole message is parsed: a 10 MB message of a quoted-printable text, a base64
// attachment and a quoted-printable attachment, and a message of a thousand small parts (the
// most the parser takes). Throughput is reported in bytes of input per second.

#include "mspars.h"

#include <QBuffer>
#include <benchmark/benchmark.h>

namespace {

QByteArray LargeMessage()
{
    QByteArray raw = "MIME-Version: 1.0\r\nFrom: a@example.com\r\nTo: b@example.com\r\nSubject: big\r\n"
                     "Content-Type: multipart/mixed; boundary=\"=_part\"\r\n\r\n--=_part\r\n"
                     "Content-Type: text/plain; charset=iso-8859-1\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n";
    for (int i = 0; i < 20000; ++i)
        raw += "Dear customer, your caf=E9 order number " + QByteArray::number(i) + " has shipped; =\r\nthanks.\r\n";
    raw += "--=_part\r\nContent-Type: application/pdf; name=\"report.pdf\"\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    for (int i = 0; i < 100000; ++i)
        raw += "JVBERi0xLjQKJcfsj6IKNSAwIG9iago8PC9MZW5ndGggNiAwIFIvRmlsdGVyIC9GbGF0ZURlY29kZT4+\r\n";
    raw += "--=_part\r\nContent-Type: text/html; name=\"page.html\"\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n";
    for (int i = 0; i < 20000; ++i)
        raw += "<p class=3D\"x\">Paragraph " + QByteArray::number(i) + " of the page, with a soft =\r\nbreak.</p>\r\n";
    return raw + "--=_part--\r\n";
}

QByteArray ManyParts()
{
    QByteArray raw = "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\ntext\r\n";
    for (int i = 1; i < TmsMessageDecoder::kMaxParts; ++i)
        raw += "--b\r\nContent-Type: image/png; name=\"p" + QByteArray::number(i)
            + ".png\"\r\nContent-Transfer-Encoding: base64\r\n\r\niVBORw0KGgoAAAANSUhEUgAAAAEAAAAB\r\n";
    return raw + "--b--\r\n";
}

void Run(benchmark::State &state, const QByteArray &raw, int attachments)
{
    for (auto _ : state) {
        TmsMessage message;
        QBuffer buffer;
        buffer.setData(raw);
        buffer.open(QIODevice::ReadOnly);
        LoadFromStream(message, buffer);
        if (message.Attachments().Count() != attachments)
            state.SkipWithError("the message did not parse as expected");
        benchmark::DoNotOptimize(message);
    }
    state.SetBytesProcessed(state.iterations() * raw.size());
}

void BM_LargeMessage(benchmark::State &state)
{
    static const QByteArray raw = LargeMessage();
    Run(state, raw, 2);
}
BENCHMARK(BM_LargeMessage)->Unit(benchmark::kMillisecond);

void BM_ThousandParts(benchmark::State &state)
{
    static const QByteArray raw = ManyParts();
    Run(state, raw, TmsMessageDecoder::kMaxParts - 1);
}
BENCHMARK(BM_ThousandParts)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
