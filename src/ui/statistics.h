#pragma once

#include "logreader.h"
#include "logstats.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QDialog>
#include <QGuiApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QChart;
class QChartView;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPrinter;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableView;

// The statistics windows: the start dialog that picks the log file (TfrmChartMain), the chart
// window with its tables and charts (TfrmChart) and the date-range dialog
// (TfrmSelectDateRange). The numbers all come from ComputeStatistics; these windows only
// show, print and save them.

// Opens the start dialog for the log file logFile (the "Logfile" setting) and, on OK, the
// chart window. Does nothing while a chart window is being built.
void ShowStatistics(QWidget *parent, const QString &logFile);

// The hourglass for as long as the object lives, whichever way the block is left.
class TBusyCursor
{
public:
    TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor &) = delete;
    TBusyCursor &operator=(const TBusyCursor &) = delete;
};

// One of the two grids: rows of text; the "# Mail" / "Size" column sorts as a number and is
// right-aligned, the date column sorts as a date (its text is an ISO date).
class TStatsTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    TStatsTableModel(QStringList headings, int numericColumn, QObject *parent = nullptr);
    void SetRows(QList<QStringList> rows);
    // The rows in the order shown (after sorting).
    const QList<QStringList> &Rows() const { return m_rows; }
    const QStringList &Headings() const { return m_headings; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    QStringList m_headings;
    int m_numericColumn;
    QList<QStringList> m_rows;
};

class TfrmSelectDateRange : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSelectDateRange(QWidget *parent = nullptr);

    QRadioButton *rbBetween = nullptr;
    QRadioButton *rbMonths = nullptr;
    QRadioButton *rbDays = nullptr;
    QDateEdit *dtStart = nullptr;
    QDateEdit *dtEnd = nullptr;
    QSpinBox *edMonths = nullptr;
    QSpinBox *edDays = nullptr;

    // Today's date; tests set a fixed one.
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    void SetRange(const QDate &start, const QDate &end);
    QDate StartDate() const { return m_start; }
    QDate EndDate() const { return m_end; }
    // Reckons the range of the chosen mode and enables only that mode's controls.
    void computeStartEnd();

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QDate m_start;
    QDate m_end;
};

class TfrmChart : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmChart(QWidget *parent = nullptr);
    ~TfrmChart() override;

    // The tabs, in order.
    enum Tab { DayOfWeek, HourOfDay, DayByDay, PercentDeleted, TopDomains, TopSpammers, Hits, Deleted };

    // Reads the log; on failure result.error and result.detail say why. progress(done, total).
    ActivityLogReadResult readInLogFile(const QString &fileName,
                                        const std::function<void(qint64, qint64)> &progress = {});
    // Takes log data read elsewhere and fills the mailbox chooser.
    void SetData(ActivityLogData data);
    void SetRange(const QDate &start, const QDate &end);
    StatsSelection Selection() const;

    // Recomputes the tables and charts for the chosen mailbox and range (the "Plot" button).
    void btPlotClick();
    void btDateRangeClick();
    // Prints the tab shown: a grid as a table, a chart as a picture. False when the printer
    // could not be started or a page not begun.
    bool PrintCurrent(QPrinter &printer);
    // Saves the tab shown: a chart as a PNG picture, a grid as CSV text. False with error set
    // when the file could not be written.
    bool SaveCurrent(const QString &fileName, QString *error);
    // A grid tab is shown (saved as CSV), not a chart (saved as PNG).
    bool CurrentIsTable() const;

    const LogStatistics &Statistics() const { return m_stats; }
    QChart *Chart(Tab tab) const;
    QChartView *ChartView(Tab tab) const;
    TStatsTableModel *HitsModel() const { return m_hitsModel; }
    TStatsTableModel *DeletedModel() const { return m_delModel; }

    QComboBox *cbMailbox = nullptr;
    QTabWidget *tabs = nullptr;
    QTableView *grHits = nullptr;
    QTableView *grDel = nullptr;
    QPushButton *btPlot = nullptr;
    QPushButton *btDateRange = nullptr;
    QPushButton *btPrint = nullptr;
    QPushButton *btSave = nullptr;
    QPushButton *btHints = nullptr;
    QPushButton *btClose = nullptr;
    QLabel *lblStatus = nullptr;
    QFrame *pnlHints = nullptr;
    TfrmSelectDateRange *dateRange = nullptr;

private:
    void fillInGrids();
    void RecomputePie();
    void PlotReadings();
    void updateTitle();
    void btPrintClick();
    void btSaveClick();
    void btHintsClick();

    ActivityLogData m_data;
    LogStatistics m_stats;
    QDate m_start;
    QDate m_end;
    QList<QChartView *> m_views; // one per chart tab
    TStatsTableModel *m_hitsModel = nullptr;
    TStatsTableModel *m_delModel = nullptr;
};

class TfrmChartMain : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmChartMain(const QString &logFile, QWidget *parent = nullptr);

    QLineEdit *edLogFile = nullptr;
    QPushButton *btBrowse = nullptr;
    QPushButton *btOK = nullptr;
    QPushButton *btCancel = nullptr;
    QProgressBar *progress = nullptr;

    // Shows an error (a message box unless a test replaces it).
    std::function<void(const QString &text, const QString &detail)> errorBox;

    // Reads the log and shows the chart window modally; nothing while one is being built.
    void btOKClick();
    void btBrowseClick();
    // True while a chart window is being built or shown.
    static bool Busy();

private:
    static bool s_busy;
};
