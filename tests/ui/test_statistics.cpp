// The statistics windows on real log files: what each chart and grid holds, the mailbox and
// date filters, saving (PNG, CSV) and printing to PDF, the start dialog's errors and its busy
// state. Set TARNWICK_SCREENSHOTS to a folder to keep a picture of every tab for the demo log.

#include "pictures.h"
#include "statistics.h"
#include "ui_test.h"

namespace {

const char kLog[] =
    "MAIL CHECK 3 msg(s) for \"joe\" on server pop.a at Sat 2026-10-31 23:45\r\n"
    "DELETE SPAM on Sat 2026-10-31 23:46\r\n"
    "   Server:  pop.a Mailbox: joe\r\n"
    "   Subject: Pills\r\n"
    "   Sender:  Pills@Spam.Example\r\n"
    "   Size:    2048  Date: Sat, 31 Oct 2026\r\n"
    "MAIL CHECK 2 msg(s) for \"ann\" on server pop.b at Sun 2026-11-01 00:10\r\n"
    "DELETE SPAM on Sun 2026-11-01 00:11\r\n"
    "   Server:  pop.b Mailbox: ann\r\n"
    "   Subject: More pills\r\n"
    "   Sender:  pills@spam.example\r\n"
    "   Size:    100  Date: Sun, 1 Nov 2026\r\n"
    "MAIL CHECK 0 msg(s) for \"JOE\" on server pop.a at Sun 2026-11-01 08:30\r\n"
    "MAIL CHECK many msg(s) for \"joe\" on server pop.a at Sun 2026-11-01 09:00\r\n"
    "MAIL CHECK 4 msg(s) for \"joe\" on server pop.a at Tue 2026-11-03 12:29\r\n"
    "DELETE SPAM on Tue 2026-11-03 12:30\r\n"
    "   Server:  pop.a Mailbox: joe\r\n"
    "   Subject: Offer\r\n"
    "   Sender:  bob@other.example\r\n"
    "   Size:    5  Date: Tue, 3 Nov 2026\r\n"
    "DELETE SPAM on Tue 2026-11-03 12:31\r\n"
    "   Server:  pop.a Mailbox: joe\r\n"
    "   Subject: Pills again\r\n"
    "   Sender:  pills@spam.example\r\n"
    "   Size:    7  Date: Tue, 3 Nov 2026\r\n";


QList<double> barValues(QBarSet *set)
{
    QList<double> values;
    for (int i = 0; i < set->count(); ++i)
        values << set->at(i);
    return values;
}

QList<QAbstractSeries *> seriesOf(TfrmChart &chart, TfrmChart::Tab tab) { return chart.Chart(tab)->series(); }

// Pages of a PDF written by Qt: one "/Type /Page" object each.
int pdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF"))
        return -1;
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/")
               + pdf.count("/Type /Page "));
}

class Statistics : public ::testing::Test
{
protected:
    void Open(const QByteArray &log)
    {
        home.write("log.txt", log);
        const ActivityLogReadResult result = chart.readInLogFile(home.file("log.txt"));
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        chart.SetRange(QDate(1998, 1, 1), QDate(2026, 12, 6));
        chart.btPlotClick();
    }

    TempHome home;
    TfrmChart chart;
};

TEST_F(Statistics, EveryChartAndGridOfTheLog)
{
    Open(kLog);
    EXPECT_EQ(chart.windowTitle(), "All mailboxes from 1998-01-01 thru 2026-12-06");
    EXPECT_EQ(chart.cbMailbox->count(), 3);
    EXPECT_EQ(chart.cbMailbox->itemText(2), "ann");
    EXPECT_TRUE(chart.lblStatus->text().contains("line 14")) << chart.lblStatus->text().toStdString();
    EXPECT_EQ(chart.tabs->tabText(TfrmChart::PercentDeleted), "% Deleted");

    // Grids: one row per entry, in file order, the count right-aligned.
    EXPECT_EQ(chart.HitsModel()->rowCount(), 4);
    EXPECT_EQ(chart.DeletedModel()->rowCount(), 4);
    EXPECT_EQ(chart.HitsModel()->index(0, 4).data(Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(chart.DeletedModel()->index(3, 5).data().toString(), "pills@spam.example");

    // Day of week: three sets of seven bars, Sunday first (the counts are LogStats' evidence).
    auto *week = qobject_cast<QAbstractBarSeries *>(seriesOf(chart, TfrmChart::DayOfWeek).value(0));
    ASSERT_NE(week, nullptr);
    ASSERT_EQ(week->count(), 3);
    EXPECT_EQ(week->barSets()[2]->label(), "Number Deleted");
    EXPECT_EQ(barValues(week->barSets()[2]), (QList<double>{1, 0, 2, 0, 0, 0, 1}));
    // Each measure in a colour of its own that colour-blind eyes tell apart.
    EXPECT_EQ(week->barSets()[2]->color(), QColor(0xd5, 0x5e, 0x00));

    // Hour of day: 48 half hours; day by day: each measure on one date axis (the check of
    // 1 November without mail still has a point), each with a dashed trend line.
    ASSERT_EQ(qobject_cast<QLineSeries *>(seriesOf(chart, TfrmChart::HourOfDay).value(2))->count(), 48);
    const QList<QAbstractSeries *> days = seriesOf(chart, TfrmChart::DayByDay);
    ASSERT_EQ(days.size(), 6);
    for (QAbstractSeries *series : days) {
        auto *line = qobject_cast<QLineSeries *>(series);
        EXPECT_EQ(line->count(), line->pen().style() == Qt::DashLine ? 2 : 3) << line->name().toStdString();
    }

    // The pie (its values with the selections below).
    auto *pie = qobject_cast<QPieSeries *>(seriesOf(chart, TfrmChart::PercentDeleted).value(0));
    ASSERT_NE(pie, nullptr);
    ASSERT_EQ(pie->count(), 2);
    EXPECT_TRUE(pie->slices()[0]->label().startsWith("Normal E-mail"));
    // Blue and vermilion, which colour-blind eyes tell apart, unlike green and red.
    EXPECT_EQ(pie->slices()[0]->color(), QColor(0x00, 0x72, 0xb2));
    EXPECT_EQ(pie->slices()[1]->color(), QColor(0xd5, 0x5e, 0x00));

    // Top ten: a sender deleted three times and one deleted once: bars 3 and 1, the larger at
    // the top (categories run upwards, so it comes last).
    for (TfrmChart::Tab tab : {TfrmChart::TopSpammers, TfrmChart::TopDomains}) {
        auto *bars = qobject_cast<QAbstractBarSeries *>(seriesOf(chart, tab).value(0));
        ASSERT_NE(bars, nullptr);
        EXPECT_EQ(barValues(bars->barSets()[0]), (QList<double>{1, 3}));
    }
    // Counts on the axis are whole numbers.
    auto *axis = qobject_cast<QValueAxis *>(chart.Chart(TfrmChart::TopSpammers)->axes(Qt::Horizontal).value(0));
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->tickInterval(), 1);
}

TEST_F(Statistics, GridsSortDatesAndNumbers)
{
    Open(kLog);
    TStatsTableModel *hits = chart.HitsModel();
    // first: column 4 of the rows, top to bottom.
    const struct { int column; Qt::SortOrder order; QStringList first; } cases[] = {
        {0, Qt::DescendingOrder, {"4", "0", "2", "3"}}, // the time decides within a day
        {0, Qt::AscendingOrder, {"3", "2", "0", "4"}},
        {3, Qt::AscendingOrder, {"0", "2", "3", "4"}}, // "JOE" < "ann" < "joe"
    };
    for (const auto &c : cases) {
        hits->sort(c.column, c.order);
        QStringList counts;
        for (const QStringList &row : hits->Rows())
            counts << row.at(4);
        EXPECT_EQ(counts, c.first) << "column " << c.column;
    }
    // Ten sorts before nine as a number.
    chart.DeletedModel()->sort(4, Qt::DescendingOrder);
    EXPECT_EQ(chart.DeletedModel()->Rows().front().at(4), "2048");
    EXPECT_EQ(chart.DeletedModel()->Rows().back().at(4), "5");
}

// The table saved as the user sees it (sorted), a chart as a picture, the table printed on as
// many pages as it needs; a folder or printer that cannot be written is reported.
TEST_F(Statistics, SavesAndPrints)
{
    QByteArray log;
    for (int i = 0; i < 150; ++i) // enough checks for the printed table to need more than one page
        log += QStringLiteral("MAIL CHECK 1 msg(s) for \"amy\" on server pop.c at Mon 2026-10-05 10:%1\r\n")
                   .arg(i % 60, 2, 10, QLatin1Char('0')).toLatin1();
    Open(kLog + log);
    chart.tabs->setCurrentIndex(TfrmChart::Hits);
    chart.HitsModel()->sort(4, Qt::DescendingOrder);
    QString error;
    ASSERT_TRUE(chart.SaveCurrent(home.file("hits.csv"), &error)) << error.toStdString();
    EXPECT_TRUE(home.read("hits.csv").startsWith("Date,Time,Server,Mailbox,# Mail\r\n"
                                                 "2026-11-03,12:29,pop.a,joe,4\r\n"
                                                 "2026-10-31,23:45,pop.a,joe,3\r\n"
                                                 "2026-11-01,00:10,pop.b,ann,2\r\n"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(home.file("hits.pdf"));
    EXPECT_TRUE(chart.PrintCurrent(printer));
    EXPECT_GE(pdfPages(home.file("hits.pdf")), 2);

    chart.tabs->setCurrentIndex(TfrmChart::PercentDeleted);
    ASSERT_TRUE(chart.SaveCurrent(home.file("chart.png"), &error)) << error.toStdString();
    EXPECT_GE(QImage(home.file("chart.png")).width(), 200);
    EXPECT_FALSE(chart.SaveCurrent(home.file("no/such/folder/x.png"), &error));
    EXPECT_TRUE(error.contains("could not be saved")) << error.toStdString();
    printer.setOutputFileName(home.file("no/such/folder/print.pdf"));
    EXPECT_FALSE(chart.PrintCurrent(printer));
}

TEST_F(Statistics, DateRangeButtonReplots)
{
    Open(kLog);
    chart.dateRange->today = [] { return QDate(2026, 11, 3); };
    TPoller poller([this] {
        if (chart.dateRange->isVisible()) {
            chart.dateRange->edDays->setValue(2);
            chart.dateRange->rbDays->click();
            chart.dateRange->accept();
        }
        return chart.dateRange->isVisible();
    });
    chart.cbMailbox->setCurrentIndex(2);
    chart.btDateRangeClick();
    EXPECT_EQ(chart.windowTitle(), "ann from 2026-11-01 thru 2026-11-03");
    EXPECT_EQ(chart.HitsModel()->rowCount(), 1) << "one blank row for an empty selection";
}

// The start dialog: a missing or unreadable file is explained; OK shows the chart window once
// (a second OK while it is up is ignored) and is ready again after it; a blank name means the
// default log.
TEST(StatisticsStart, ErrorsAndTheChartWindowOnce)
{
    TempHome home;
    home.write("log.txt", kLog);
    const std::pair<QString, QString> failures[] = {
        {home.file("nothing.txt"), "The activity log file does not exist!  Either you have cleared/deleted the activity log or you have not yet begun to use Tarnwick."}, // the other errors: test_logreader
    };
    for (const auto &[file, error] : failures) {
        TfrmChartMain start(file);
        QStringList errors;
        start.errorBox = [&errors](const QString &text, const QString &) { errors << text; };
        start.btOKClick();
        EXPECT_EQ(errors, QStringList{error});
        EXPECT_FALSE(TfrmChartMain::Busy());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    TfrmChartMain start(home.file("log.txt"));
    start.show();
    QList<int> charts;
    TPoller poller([&] {
        TfrmChart *chart = start.findChild<TfrmChart *>();
        if (!chart || !chart->isVisible())
            return false;
        EXPECT_TRUE(TfrmChartMain::Busy());
        start.btOKClick();
        charts << int(start.findChildren<TfrmChart *>().size());
        chart->btClose->click();
        return true;
    });
    start.btOKClick();
    EXPECT_EQ(charts, QList<int>{1});
    EXPECT_FALSE(TfrmChartMain::Busy());
    EXPECT_EQ(start.findChild<TfrmChart *>(), nullptr);
    EXPECT_EQ(TfrmChartMain(QStringLiteral("  ")).edLogFile->text(), QDir(home.path()).filePath("logfile.txt"));
}

// Charts follow the palette, in colours people with colour blindness tell apart.
TEST(StatisticsTheme, FollowsThePalette)
{
    const QPalette original = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
    for (const auto &[palette, theme] : {std::pair{original, QChart::ChartThemeLight},
                                         std::pair{dark, QChart::ChartThemeDark}}) {
        QApplication::setPalette(palette);
        TfrmChart chart;
        EXPECT_EQ(chart.Chart(TfrmChart::DayOfWeek)->theme(), theme);
        EXPECT_EQ(IsDarkPalette(palette), theme == QChart::ChartThemeDark);
        // Problem texts stay readable: far from the window's own lightness.
        EXPECT_GT(std::abs(ProblemTextColor(palette).lightness() - palette.color(QPalette::Window).lightness()), 80);
    }
    QApplication::setPalette(original);
}

TEST(StatisticsScreens, DemoLogPictures)
{
    const QString folder = qEnvironmentVariable("TARNWICK_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "TARNWICK_SCREENSHOTS is not set";
    TfrmChart chart;
    ASSERT_TRUE(chart.readInLogFile(QStringLiteral(TARNWICK_SOURCE_DIR "/data/demo/logfile.txt")).ok);
    chart.SetRange(QDate(2026, 9, 1), QDate(2026, 12, 6));
    chart.btPlotClick();
    chart.resize(1000, 680);
    chart.show();
    for (int tab = 0; tab < chart.tabs->count(); ++tab) {
        chart.tabs->setCurrentIndex(tab);
        QTest::qWait(50);
        Keep(&chart, QStringLiteral("statistics-%1").arg(tab));
    }
    chart.tabs->setCurrentIndex(TfrmChart::DayOfWeek);
    chart.btHints->click();
    QTest::qWait(50);
    Keep(&chart, QStringLiteral("statistics-hints"));
}

} // namespace
