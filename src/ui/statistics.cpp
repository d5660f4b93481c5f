#include "statistics.h"
#include "pictures.h"

#include "logformat.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

template <typename W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

const char *const kTabCaptions[] = {
    QT_TRANSLATE_NOOP("TfrmChart", "Day of week"),   QT_TRANSLATE_NOOP("TfrmChart", "Hour of day"),
    QT_TRANSLATE_NOOP("TfrmChart", "Day by day"),    QT_TRANSLATE_NOOP("TfrmChart", "% Deleted"),
    QT_TRANSLATE_NOOP("TfrmChart", "Top 10 Spam Domains"), QT_TRANSLATE_NOOP("TfrmChart", "Top 10 Spammers"),
    QT_TRANSLATE_NOOP("TfrmChart", "Email traffic"), QT_TRANSLATE_NOOP("TfrmChart", "Spam Deleted")};
constexpr int kChartTabs = 6;

QString kChecks() { return TfrmChart::tr("E-mail Check"); }
QString kFound() { return TfrmChart::tr("Number Found"); }
QString kDeleted() { return TfrmChart::tr("Number Deleted"); }

// Each measure keeps its colour on every chart, so the charts read alike. The colours are
// from a set that people with any common kind of colour blindness tell apart (Okabe and
// Ito), and differ in lightness as well.
const QColor kBlue(0x00, 0x72, 0xb2);
const QColor kOrange(0xe6, 0x9f, 0x00);
const QColor kVermillion(0xd5, 0x5e, 0x00);

QColor measureColor(const QString &name)
{
    if (name == kChecks())
        return kBlue;
    if (name == kFound())
        return kOrange;
    return kVermillion;
}

// A value axis from 0 whose ticks fall on whole numbers, so that counts never read "2.5".
QValueAxis *countAxis(qint64 largest, const QString &title)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    const double top = std::max<qint64>(largest, 1);
    // 1, 2 or 5 times a power of ten, for at most about eight steps.
    double step = 1;
    for (double unit = 1; top / step > 8; unit *= 10) {
        for (double m : {1.0, 2.0, 5.0}) {
            step = m * unit;
            if (top / step <= 8)
                break;
        }
    }
    axis->setRange(0, std::ceil(top / step) * step);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    return axis;
}

void resetChart(QChart *chart)
{
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

void attach(QChart *chart, QAbstractSeries *series, QAbstractAxis *x, QAbstractAxis *y)
{
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

// Prints rows as a table: the title, the date at top left and the page number at the bottom
// of every page, the headings repeated on each page.
bool printTable(QPrinter &printer, const QString &title, const QStringList &headings,
                const QList<QStringList> &rows, int rightColumn)
{
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const QRect page = p.viewport();
    const QFontMetrics fm(p.font());
    const int line = fm.height() + fm.height() / 3;
    QList<int> want;
    for (int c = 0; c < headings.size(); ++c) {
        int w = fm.horizontalAdvance(headings.at(c));
        for (const QStringList &row : rows)
            w = std::max(w, fm.horizontalAdvance(row.value(c)));
        want << std::min(w, page.width() / 3) + fm.averageCharWidth() * 2;
    }
    int total = 0;
    for (int w : want)
        total += w;
    const double scale = total > page.width() ? double(page.width()) / total : 1.0;
    const QString date = QDate::currentDate().toString(Qt::ISODate);
    QFont bold = p.font();
    bold.setBold(true);
    const QFont plain = p.font();
    int pageNo = 1;
    qsizetype next = 0;
    while (true) {
        p.setFont(plain);
        p.drawText(page.left(), page.top() + fm.ascent(), date);
        p.setFont(bold);
        p.drawText(QRect(page.left(), page.top(), page.width(), line), Qt::AlignHCenter | Qt::AlignTop, title);
        int y = page.top() + 2 * line;
        auto drawRow = [&](const QStringList &cells) {
            int x = page.left();
            for (int c = 0; c < headings.size(); ++c) {
                const int w = int(want.at(c) * scale);
                const QString text = fm.elidedText(cells.value(c), Qt::ElideRight, w - fm.averageCharWidth());
                const Qt::Alignment align = c == rightColumn ? Qt::AlignRight : Qt::AlignLeft;
                p.drawText(QRect(x, y, w - fm.averageCharWidth(), line), align | Qt::AlignVCenter, text);
                x += w;
            }
            y += line;
        };
        drawRow(headings);
        p.drawLine(page.left(), y, page.right(), y);
        p.setFont(plain);
        const int bottom = page.bottom() - 2 * line;
        while (next < rows.size() && y + line <= bottom)
            drawRow(rows.at(next++));
        const QString number = TfrmChart::tr("Page %1").arg(pageNo);
        p.drawText(page.right() - fm.horizontalAdvance(number), page.bottom() - fm.descent(), number);
        if (next >= rows.size())
            break;
        if (!printer.newPage())
            return false;
        ++pageNo;
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TfrmChart::TfrmChart(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmChart"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    const StatsSelection initial = DefaultStatsSelection(QDate::currentDate());
    m_start = initial.start;
    m_end = initial.end;

    cbMailbox = named(new QComboBox, QStringLiteral("cbMailbox"));
    cbMailbox->addItem(tr("All mailboxes")); // the first entry: no filter
    cbMailbox->setMinimumContentsLength(20);
    btPlot = named(new QPushButton(tr("&Plot")), QStringLiteral("btPlot"));
    btDateRange = named(new QPushButton(tr("&Date range...")), QStringLiteral("btDateRange"));
    btPrint = named(new QPushButton(tr("P&rint...")), QStringLiteral("btPrint"));
    btSave = named(new QPushButton(tr("&Save...")), QStringLiteral("btSave"));
    btHints = named(new QPushButton(tr("&Hints")), QStringLiteral("btHints"));
    btClose = named(new QPushButton(tr("&Close")), QStringLiteral("btClose"));
    btSave->setToolTip(tr("Save the chart shown as a PNG picture, or the table shown as CSV text"));
    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(tr("Mailbox:")));
    bar->addWidget(cbMailbox);
    for (QPushButton *b : {btPlot, btDateRange, btPrint, btSave, btHints})
        bar->addWidget(b);
    bar->addStretch();
    bar->addWidget(btClose);

    tabs = named(new QTabWidget, QStringLiteral("tabs"));
    for (int t = 0; t < kChartTabs; ++t) {
        auto *chart = new QChart;
        // The charts follow the desktop: a dark theme under a dark palette.
        chart->setTheme(IsDarkPalette(palette()) ? QChart::ChartThemeDark : QChart::ChartThemeLight);
        chart->setAnimationOptions(QChart::NoAnimation);
        chart->legend()->setAlignment(Qt::AlignBottom);
        auto *view = new QChartView(chart);
        view->setRenderHint(QPainter::Antialiasing);
        m_views << view;
        tabs->addTab(view, tr(kTabCaptions[t]));
    }
    m_views.at(TopDomains)->chart()->legend()->hide();
    m_views.at(TopSpammers)->chart()->legend()->hide();
    m_hitsModel = new TStatsTableModel(kHitsColumns, 4, this);
    m_delModel = new TStatsTableModel(kDeletedColumns, 4, this);
    grHits = named(new QTableView, QStringLiteral("grHits"));
    grDel = named(new QTableView, QStringLiteral("grDel"));
    grHits->setModel(m_hitsModel);
    grDel->setModel(m_delModel);
    for (QTableView *grid : {grHits, grDel}) {
        grid->setSortingEnabled(true);
        grid->horizontalHeader()->setSortIndicatorShown(true);
        grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        // The deletions end in text columns that may use the room; the checks end in a
        // number that belongs next to the rest of its row.
        grid->horizontalHeader()->setStretchLastSection(grid == grDel);
        grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        tabs->addTab(grid, tr(kTabCaptions[grid == grHits ? Hits : Deleted]));
    }

    lblStatus = named(new QLabel, QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(tabs, 1);
    layout->addWidget(lblStatus);

    pnlHints = named(new QFrame(this), QStringLiteral("pnlHints"));
    pnlHints->setFrameShape(QFrame::StyledPanel);
    pnlHints->setAutoFillBackground(true);
    auto *hintText = new QLabel(tr("<b>Reading the statistics</b><br><br>"
        "Choose a mailbox and press <i>Plot</i> to see only its checks and deletions.<br>"
        "<i>Date range...</i> limits every chart and table to a period.<br><br>"
        "<i>E-mail Check</i> counts the checks, <i>Number Found</i> the messages waiting at "
        "them (a message seen at several checks counts each time), <i>Number Deleted</i> the "
        "messages deleted as spam. The dashed lines of <i>Day by day</i> are the trends.<br><br>"
        "<i>Print...</i> prints the tab shown; <i>Save...</i> saves a chart as a PNG picture "
        "or a table as CSV for a spreadsheet. Click a table's heading to sort by it."));
    hintText->setWordWrap(true);
    auto *hintClose = new QPushButton(tr("Close"));
    auto *hintLayout = new QVBoxLayout(pnlHints);
    hintLayout->addWidget(hintText);
    hintLayout->addWidget(hintClose, 0, Qt::AlignRight);
    pnlHints->setFixedWidth(420);
    pnlHints->hide();
    connect(hintClose, &QPushButton::clicked, pnlHints, &QWidget::hide);

    dateRange = new TfrmSelectDateRange(this);

    connect(btPlot, &QPushButton::clicked, this, &TfrmChart::btPlotClick);
    connect(btDateRange, &QPushButton::clicked, this, &TfrmChart::btDateRangeClick);
    connect(btPrint, &QPushButton::clicked, this, &TfrmChart::btPrintClick);
    connect(btSave, &QPushButton::clicked, this, &TfrmChart::btSaveClick);
    connect(btHints, &QPushButton::clicked, this, &TfrmChart::btHintsClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
    resize(1000, 680);
    updateTitle();
}

TfrmChart::~TfrmChart() = default;

QChart *TfrmChart::Chart(Tab tab) const
{
    return tab < kChartTabs ? m_views.at(tab)->chart() : nullptr;
}

QChartView *TfrmChart::ChartView(Tab tab) const
{
    return tab < kChartTabs ? m_views.at(tab) : nullptr;
}

ActivityLogReadResult TfrmChart::readInLogFile(const QString &fileName,
                                               const std::function<void(qint64, qint64)> &progress)
{
    ActivityLogReadResult result = ReadActivityLog(fileName, progress);
    if (result.ok)
        SetData(std::move(result.data));
    return result;
}

void TfrmChart::SetData(ActivityLogData data)
{
    m_data = std::move(data);
    cbMailbox->clear();
    cbMailbox->addItem(tr("All mailboxes")); // the first entry: no filter
    cbMailbox->addItems(m_data.mailboxes);
    cbMailbox->setCurrentIndex(0);
    if (m_data.skippedLines > 0)
        lblStatus->setText(tr("%1 line(s) of the log were not entries Tarnwick "
                                          "writes and were left out (the first is line %2). "
                                          "Check that the file chosen is the activity log.")
                               .arg(m_data.skippedLines)
                               .arg(m_data.firstSkippedLine));
    else
        lblStatus->clear();
}

void TfrmChart::SetRange(const QDate &start, const QDate &end)
{
    m_start = start;
    m_end = end;
}

StatsSelection TfrmChart::Selection() const
{
    StatsSelection selection{m_start, m_end, QString()};
    if (cbMailbox->currentIndex() > 0)
        selection.mailbox = cbMailbox->currentText();
    return selection;
}

void TfrmChart::updateTitle()
{
    setWindowTitle(StatsTitle(Selection()));
}

void TfrmChart::btPlotClick()
{
    TBusyCursor busy;
    updateTitle();
    m_stats = ComputeStatistics(m_data, Selection());
    fillInGrids();
    RecomputePie();
    PlotReadings();
}

void TfrmChart::btDateRangeClick()
{
    dateRange->SetRange(m_start, m_end);
    if (dateRange->exec() != QDialog::Accepted)
        return;
    SetRange(dateRange->StartDate(), dateRange->EndDate());
    btPlotClick();
}

void TfrmChart::fillInGrids()
{
    m_hitsModel->SetRows(m_stats.hits);
    m_delModel->SetRows(m_stats.deleted);
    for (QTableView *grid : {grHits, grDel}) {
        grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        grid->resizeColumnsToContents();
    }
}

void TfrmChart::RecomputePie()
{
    QChart *chart = Chart(PercentDeleted);
    resetChart(chart);
    chart->setTitle(tr("Share of spam deleted among the messages seen at checks"));
    auto *pie = new QPieSeries;
    QPieSlice *normal = pie->append(tr("Normal E-mail"), double(m_stats.normalMessages()));
    QPieSlice *spam = pie->append(tr("Spam Deleted"), double(m_stats.deletedMessages));
    normal->setColor(kBlue);
    spam->setColor(kVermillion);
    const qint64 sum = m_stats.normalMessages() + m_stats.deletedMessages;
    for (QPieSlice *slice : {normal, spam}) {
        const qint64 value = qint64(slice->value());
        slice->setLabel(QStringLiteral("%1: %2 (%3%)")
                            .arg(slice->label())
                            .arg(value)
                            .arg(sum ? 100.0 * double(value) / double(sum) : 0.0, 0, 'f', 1));
        slice->setLabelVisible(value > 0);
        // A seam in the chart's own background colour between the slices.
        slice->setBorderColor(IsDarkPalette(palette()) ? QColor(0x20, 0x20, 0x20) : QColor(Qt::white));
    }
    pie->setPieSize(0.6);
    chart->addSeries(pie);
}

void TfrmChart::PlotReadings()
{
    const LogStatistics &s = m_stats;

    // Day of week: bars, Sunday first.
    {
        QChart *chart = Chart(DayOfWeek);
        resetChart(chart);
        chart->setTitle(tr("Checks and messages by day of the week"));
        auto *series = new QBarSeries;
        auto *checks = new QBarSet(kChecks()), *found = new QBarSet(kFound()), *deleted = new QBarSet(kDeleted());
        qint64 top = 0;
        for (int d = 0; d < 7; ++d) {
            checks->append(s.checksByDay[d]);
            found->append(double(s.foundByDay[d]));
            deleted->append(double(s.deletedByDay[d]));
            top = std::max({top, qint64(s.checksByDay[d]), s.foundByDay[d], s.deletedByDay[d]});
        }
        for (QBarSet *set : {checks, found, deleted})
            set->setColor(measureColor(set->label()));
        series->append({checks, found, deleted});
        auto *x = new QBarCategoryAxis;
        x->append(ShortDayNames());
        x->setTitleText(tr("Day of the week"));
        chart->addAxis(x, Qt::AlignBottom);
        QValueAxis *y = countAxis(top, tr("Number"));
        chart->addAxis(y, Qt::AlignLeft);
        attach(chart, series, x, y);
    }

    // Hour of day: one point per half hour, the axis named every two hours.
    {
        QChart *chart = Chart(HourOfDay);
        resetChart(chart);
        chart->setTitle(tr("Checks and messages by time of day (half hours)"));
        auto *x = new QCategoryAxis;
        x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        for (int slot = 0; slot < 48; slot += 4)
            x->append(SlotLabel(slot), slot);
        x->setRange(0, 47);
        x->setTitleText(tr("Time of day"));
        chart->addAxis(x, Qt::AlignBottom);
        qint64 top = 0;
        for (int slot = 0; slot < 48; ++slot)
            top = std::max({top, qint64(s.checksBySlot[slot]), s.foundBySlot[slot], s.deletedBySlot[slot]});
        QValueAxis *y = countAxis(top, tr("Number"));
        chart->addAxis(y, Qt::AlignLeft);
        const auto add = [&](const QString &name, auto values) {
            auto *line = new QLineSeries;
            line->setName(name);
            line->setColor(measureColor(name));
            for (int slot = 0; slot < 48; ++slot)
                line->append(slot, double(values[slot]));
            attach(chart, line, x, y);
        };
        add(kChecks(), s.checksBySlot);
        add(kFound(), s.foundBySlot);
        add(kDeleted(), s.deletedBySlot);
    }

    // Day by day: the three series on one date axis, each with its trend.
    {
        QChart *chart = Chart(DayByDay);
        resetChart(chart);
        chart->setTitle(tr("Checks and messages day by day"));
        auto *x = new QDateTimeAxis;
        x->setFormat(QStringLiteral("yyyy-MM-dd"));
        x->setTitleText(tr("Date"));
        x->setTickCount(6);
        chart->addAxis(x, Qt::AlignBottom);
        qint64 top = 0;
        for (const StatsDay &day : s.days)
            top = std::max({top, qint64(day.checks), day.found, day.deleted});
        QValueAxis *y = countAxis(top, tr("Number"));
        chart->addAxis(y, Qt::AlignLeft);
        if (!s.days.isEmpty()) {
            const QDateTime first(s.days.front().date.startOfDay());
            const QDateTime last(s.days.back().date.startOfDay());
            // A single day still needs a width to be drawn on.
            x->setRange(first, last > first ? last : first.addDays(1));
        } else {
            const QDateTime end(m_end.isValid() ? m_end.startOfDay() : QDateTime::currentDateTime());
            x->setRange(end.addDays(-1), end);
        }
        const auto add = [&](const QString &name, auto value) {
            auto *line = new QLineSeries;
            line->setName(name);
            line->setColor(measureColor(name));
            QList<double> xs, ys;
            for (const StatsDay &day : s.days) {
                const double ms = double(day.date.startOfDay().toMSecsSinceEpoch());
                line->append(ms, double(value(day)));
                xs << double(day.date.toJulianDay());
                ys << double(value(day));
            }
            attach(chart, line, x, y);
            if (s.days.size() < 2)
                return;
            const TrendLine trend = FitTrend(xs, ys);
            auto *trendLine = new QLineSeries;
            QPen pen(line->color());
            pen.setStyle(Qt::DashLine);
            pen.setWidthF(1.5);
            trendLine->setPen(pen);
            for (const StatsDay *day : {&s.days.front(), &s.days.back()})
                trendLine->append(double(day->date.startOfDay().toMSecsSinceEpoch()),
                                  std::max(0.0, trend.at(double(day->date.toJulianDay()))));
            attach(chart, trendLine, x, y);
            // The trend has no entry of its own in the legend: the hints explain the dashes.
            chart->legend()->markers(trendLine).value(0)->setVisible(false);
        };
        add(kFound(), [](const StatsDay &d) { return d.found; });
        add(kDeleted(), [](const StatsDay &d) { return d.deleted; });
        add(kChecks(), [](const StatsDay &d) { return qint64(d.checks); });
    }

    // Top ten: horizontal bars, the largest at the top.
    const auto topTen = [&](Tab tab, const QList<StatsRank> &ranks, const QString &title,
                            const QString &what) {
        QChart *chart = Chart(tab);
        resetChart(chart);
        chart->setTitle(title);
        auto *series = new QHorizontalBarSeries;
        auto *set = new QBarSet(tr("Deleted"));
        auto *y = new QBarCategoryAxis;
        y->setTitleText(what);
        // Categories run upwards from the axis, so the smallest goes in first.
        for (qsizetype i = ranks.size() - 1; i >= 0; --i) {
            set->append(ranks.at(i).count);
            y->append(ranks.at(i).name);
        }
        set->setLabelColor(Qt::black);
        series->append(set);
        series->setLabelsVisible(true);
        series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
        chart->addAxis(y, Qt::AlignLeft);
        QValueAxis *x = countAxis(ranks.isEmpty() ? 0 : ranks.front().count,
                                  tr("Messages deleted"));
        chart->addAxis(x, Qt::AlignBottom);
        attach(chart, series, x, y);
    };
    topTen(TopDomains, s.topDomains, tr("The ten sender domains deleted most often"),
           tr("Sender domain"));
    topTen(TopSpammers, s.topSenders, tr("The ten senders deleted most often"),
           tr("Sender address"));
}

bool TfrmChart::CurrentIsTable() const
{
    return tabs->currentIndex() >= kChartTabs;
}

bool TfrmChart::PrintCurrent(QPrinter &printer)
{
    const int tab = tabs->currentIndex();
    const QString title = windowTitle();
    if (tab == Hits || tab == Deleted) {
        const TStatsTableModel *model = tab == Hits ? m_hitsModel : m_delModel;
        return printTable(printer, tabs->tabText(tab) + QStringLiteral(": ") + title,
                          model->Headings(), model->Rows(), 4);
    }
    QChartView *view = m_views.at(tab);
    if (!view->isVisible() && view->size().width() < 200)
        view->resize(1000, 620);
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const QRect page = p.viewport();
    const QFontMetrics fm(p.font());
    p.drawText(QRect(page.left(), page.top(), page.width(), fm.height() * 2), Qt::AlignHCenter | Qt::AlignTop,
               title);
    // The chart on white whatever the window's colours, as large as the page allows.
    QChart *chart = view->chart();
    const QBrush background = chart->backgroundBrush();
    chart->setBackgroundBrush(Qt::white);
    const QRect source = view->viewport()->rect();
    QRect target(page.left(), page.top() + fm.height() * 2, page.width(), page.height() - fm.height() * 2);
    QSize fitted = source.size().scaled(target.size(), Qt::KeepAspectRatio);
    target.setSize(fitted);
    view->render(&p, target, source);
    chart->setBackgroundBrush(background);
    return p.end();
}

bool TfrmChart::SaveCurrent(const QString &fileName, QString *error)
{
    const int tab = tabs->currentIndex();
    if (tab == Hits || tab == Deleted) {
        const TStatsTableModel *model = tab == Hits ? m_hitsModel : m_delModel;
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(TableToCsv(model->Headings(), model->Rows()).toUtf8()) < 0 || !file.commit()) {
            *error = tr("The table could not be saved as \"%1\": %2. Choose a folder you may write to.")
                         .arg(fileName, file.errorString());
            return false;
        }
        return true;
    }
    QChartView *view = m_views.at(tab);
    if (!view->isVisible() && view->size().width() < 200)
        view->resize(1000, 620);
    const QPixmap picture = view->grab();
    if (!picture.save(fileName, "PNG")) {
        *error = tr("The chart could not be saved as \"%1\". Choose a folder you may write to.")
                     .arg(fileName);
        return false;
    }
    return true;
}

void TfrmChart::btPrintClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(tabs->tabText(tabs->currentIndex()));
    if (!CurrentIsTable())
        printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool printed = false;
    {
        TBusyCursor busy;
        printed = PrintCurrent(printer);
    }
    if (!printed)
        QMessageBox::critical(this, tr("Print"),
                              tr("The printer could not be started. Check that it is "
                                             "switched on and set up, or print to a PDF file."));
}

void TfrmChart::btSaveClick()
{
    const bool table = CurrentIsTable();
    QString name = tabs->tabText(tabs->currentIndex());
    name.replace(QStringLiteral("% "), QString()).replace(u' ', u'-');
    const QString fileName = QFileDialog::getSaveFileName(
        this, table ? tr("Save table as CSV") : tr("Save chart as picture"),
        name.toLower() + (table ? QStringLiteral(".csv") : QStringLiteral(".png")),
        table ? tr("CSV files (*.csv);;All files (*)")
              : tr("PNG pictures (*.png);;All files (*)"));
    if (fileName.isEmpty())
        return;
    QString error;
    if (!SaveCurrent(fileName, &error))
        QMessageBox::critical(this, tr("Save"), error);
}

void TfrmChart::btHintsClick()
{
    pnlHints->adjustSize();
    pnlHints->move((width() - pnlHints->width()) / 2, (height() - pnlHints->height()) / 2);
    pnlHints->raise();
    pnlHints->show();
}
