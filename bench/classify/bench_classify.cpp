// How fast the rule evaluation marks messages: 10,000 generated header sets against 1,000
// rules spread over the four lists, with a blacklist of 100,000 and of 1,000 entries. The
// blacklist is searched by halving, so its size should hardly show.

#include "evaluator.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kMessages = 10000;

// Words of ordinary mail, none of which a rule looks for.
const QStringList kPlain = {
    QStringLiteral("Notes"), QStringLiteral("minutes"), QStringLiteral("plans"), QStringLiteral("garden"),
    QStringLiteral("tickets"), QStringLiteral("Re:"), QStringLiteral("agenda"), QStringLiteral("train"),
    QStringLiteral("weekend"), QStringLiteral("draft"), QStringLiteral("photos"), QStringLiteral("budget")};

const QStringList kWords = {
    QStringLiteral("free"), QStringLiteral("offer"), QStringLiteral("meeting"), QStringLiteral("invoice"),
    QStringLiteral("cash"), QStringLiteral("urgent"), QStringLiteral("report"), QStringLiteral("lunch"),
    QStringLiteral("winner"), QStringLiteral("project"), QStringLiteral("casino"), QStringLiteral("update"),
    QStringLiteral("holiday"), QStringLiteral("credit"), QStringLiteral("family"), QStringLiteral("deal"),
    QStringLiteral("news"), QStringLiteral("pictures"), QStringLiteral("loan"), QStringLiteral("question")};

class Fixture
{
public:
    Fixture(int blacklistSize) : evaluator(settings, known, &rows)
    {
        std::mt19937 rng(1234);
        auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
        auto word = [&] { return kWords.at(pick(int(kWords.size()))) + QString::number(pick(50)); };

        // 1,000 rules: 300 subject, 250 header, 250 sender, 200 exception rules.
        const QStringList subjectOps{QStringLiteral("Contains"), QStringLiteral("Contains (whole word)"),
                                     QStringLiteral("Equals"), QStringLiteral("Starts with"),
                                     QStringLiteral("Ends with")};
        QStringList spamWords;
        for (int i = 0; i < 300; ++i) {
            spamWords.append(word());
            const int row = settings.gridSubject.AppendRule();
            put(settings.gridSubject, row, {QString(), subjectOps.at(i % 5), spamWords.last(), i % 3 ? QStringLiteral("No") : QStringLiteral("Yes"),
                                            i % 4 ? QStringLiteral("No") : QStringLiteral("Yes"), QStringLiteral("0")});
        }
        for (int i = 0; i < 250; ++i) {
            const int row = settings.gridHeader.AppendRule();
            if (i == 0)
                put(settings.gridHeader, row, {QString(), QStringLiteral("To does not contain"),
                                               QStringLiteral("alice - MailBox #1"), QStringLiteral("No"),
                                               QStringLiteral("No"), QStringLiteral("0")});
            else if (i == 1)
                put(settings.gridHeader, row, {QString(), QStringLiteral("Sender"),
                                               QStringLiteral("does not match Reply-to"), QStringLiteral("No"),
                                               QStringLiteral("No"), QStringLiteral("0")});
            else
                put(settings.gridHeader, row, {QString(), subjectOps.at(i % 5),
                                               QStringLiteral("X-Mailer: Bulk Sender %1").arg(i),
                                               QStringLiteral("No"), QStringLiteral("Yes"), QStringLiteral("0")});
        }
        const QStringList senderOps{QStringLiteral("Equals"), QStringLiteral("Contains"), QStringLiteral("Ends with"),
                                    QStringLiteral("All numeric"), QStringLiteral("50% numeric")};
        for (int i = 0; i < 250; ++i) {
            const int row = settings.gridFrom.AppendRule();
            put(settings.gridFrom, row, {QString(), i % 2 ? QStringLiteral("Domain name") : QStringLiteral("E-mail address"),
                                         senderOps.at(i % 5), QStringLiteral("sender%1.example").arg(i),
                                         i % 3 ? QStringLiteral("No") : QStringLiteral("Yes"), QStringLiteral("0")});
        }
        for (int i = 0; i < 200; ++i) {
            const int row = settings.gridExcept.AppendRule();
            const int kind = i % 4;
            const QString what = kind == 0 ? QStringLiteral("E-mail address")
                               : kind == 1 ? QStringLiteral("Domain name")
                               : kind == 2 ? QStringLiteral("Subject")
                                           : QStringLiteral("Any Header");
            put(settings.gridExcept, row, {what, subjectOps.at(i % 5), QStringLiteral("friend%1.example").arg(i),
                                           QStringLiteral("No"), QStringLiteral("0"), QString(),
                                           QString::number(3 + i % 12)});
        }

        QStringList entries;
        entries.reserve(blacklistSize);
        for (int i = 0; i < blacklistSize; ++i)
            entries.append(i % 3 ? QStringLiteral("spam%1.example").arg(i)
                                 : QStringLiteral("user%1@bulk%2.example").arg(i).arg(i % 97));
        known.SetEntries(entries);

        // Most messages are ordinary mail that no rule matches, so every rule is read; one in
        // ten has a subject rule's word, one in ten a blacklisted domain, one in fifty comes
        // from an excepted domain.
        const QStringList names{QStringLiteral("john"), QStringLiteral("mary"), QStringLiteral("li"),
                                QStringLiteral("olga"), QStringLiteral("ahmed"), QStringLiteral("sven")};
        for (int i = 0; i < kMessages; ++i) {
            const QString domain = i % 10 == 3   ? QStringLiteral("spam%1.example").arg(pick(blacklistSize))
                                   : i % 50 == 7 ? QStringLiteral("friend%1.example").arg(4 * pick(50) + 1)
                                                 : QStringLiteral("host%1.example").arg(pick(5000));
            const QString from = names.at(pick(int(names.size()))) + u'.' + names.at(pick(int(names.size())))
                                 + QString::number(pick(100)) + u'@' + domain;
            QString subject = QStringLiteral("%1 %2 about the %3")
                                  .arg(kPlain.at(pick(int(kPlain.size()))), kPlain.at(pick(int(kPlain.size()))),
                                       kPlain.at(pick(int(kPlain.size()))));
            if (i % 10 == 5)
                subject += u' ' + spamWords.at(pick(int(spamWords.size())));
            TmsHeaders h{
                QStringLiteral("Return-Path: <%1>").arg(from),
                QStringLiteral("Received: from mx%1.example (mx%1.example [10.0.0.%2])").arg(pick(100)).arg(pick(250)),
                QStringLiteral("\tby pop.home.example with ESMTP id %1").arg(rng()),
                QStringLiteral("Received: from relay.example by mx.example; Sun, 6 Dec 2026 10:00:00 +0000"),
                QStringLiteral("Message-ID: <%1@%2>").arg(rng()).arg(domain),
                QStringLiteral("From: Someone <%1>").arg(from),
                QStringLiteral("To: alice@home.example"),
                QStringLiteral("Subject: ") + subject,
                QStringLiteral("Date: Sun, 6 Dec 2026 10:00:00 +0000"),
                QStringLiteral("MIME-Version: 1.0"),
                QStringLiteral("Content-Type: text/plain; charset=us-ascii"),
                QStringLiteral("X-Mailer: Mailer %1").arg(pick(400)),
            };
            if (i % 5 == 0)
                h.append(QStringLiteral("Reply-To: other%1@elsewhere.example").arg(i));
            rows.rows.append({subject, from, QString::number(1000 + pick(50000)), h, 1, -1});
        }
    }

    static void put(RuleTable &t, int row, const QStringList &cells)
    {
        for (int col = 0; col < cells.size(); ++col)
            t.SetCells(col, row, cells.at(col));
    }

    TSpamSettings settings{QStringLiteral("/nonexistent")};
    TKnownList known;
    TMessageRowList rows;
    TRuleEvaluator evaluator;
};

void BM_ClassifyMessages(benchmark::State &state)
{
    Fixture f(int(state.range(0)));
    int marked = 0;
    for (auto _ : state) {
        marked = f.evaluator.Remark();
        benchmark::DoNotOptimize(marked);
    }
    state.counters["messages/s"] =
        benchmark::Counter(double(kMessages) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["marked"] = marked;
    state.counters["blacklisted"] = [&f] {
        int n = 0;
        for (const TMessageRow &r : f.rows.rows)
            n += r.mark == 2;
        return n;
    }();
}
BENCHMARK(BM_ClassifyMessages)->Arg(100000)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_BlacklistLookup(benchmark::State &state)
{
    const int size = int(state.range(0));
    TKnownList known;
    QStringList entries;
    for (int i = 0; i < size; ++i)
        entries.append(QStringLiteral("spam%1.example").arg(i));
    known.SetEntries(entries);
    std::mt19937 rng(99);
    QStringList senders;
    for (int i = 0; i < 1024; ++i)
        senders.append(QStringLiteral("Joe@SPAM%1.example").arg(rng() % unsigned(2 * size)));
    QString kind, entry;
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(known.isInKnownList(senders.at(i++ & 1023), kind, entry));
    }
    state.counters["lookups/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BlacklistLookup)->Arg(1000)->Arg(100000);

} // namespace

BENCHMARK_MAIN();
