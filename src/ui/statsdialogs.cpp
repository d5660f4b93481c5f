#include "statistics.h"

#include "logformat.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QDateEdit>
#include <QVBoxLayout>
#include <algorithm>

// The statistics' smaller pieces: the grids' model, the date-range dialog and the start
// dialog that reads the log file and opens the chart window.

namespace {

template <typename W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// The headings come with the statistics, which have no window; named here for the translators.
[[maybe_unused]] const char *const kHeadingTexts[] = {
    QT_TRANSLATE_NOOP("TStatsTableModel", "Date"),    QT_TRANSLATE_NOOP("TStatsTableModel", "Time"),
    QT_TRANSLATE_NOOP("TStatsTableModel", "Server"),  QT_TRANSLATE_NOOP("TStatsTableModel", "Mailbox"),
    QT_TRANSLATE_NOOP("TStatsTableModel", "# Mail"),  QT_TRANSLATE_NOOP("TStatsTableModel", "Size"),
    QT_TRANSLATE_NOOP("TStatsTableModel", "Sender"),  QT_TRANSLATE_NOOP("TStatsTableModel", "Domain")};

} // namespace
// ---------------------------------------------------------------------------------------------

TStatsTableModel::TStatsTableModel(QStringList headings, int numericColumn, QObject *parent)
    : QAbstractTableModel(parent), m_headings(std::move(headings)), m_numericColumn(numericColumn)
{
}

void TStatsTableModel::SetRows(QList<QStringList> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int TStatsTableModel::rowCount(const QModelIndex &parent) const
{
    // An empty table still shows one blank row, so that it does not look like a broken window.
    return parent.isValid() ? 0 : std::max<int>(1, int(m_rows.size()));
}

int TStatsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headings.size());
}

QVariant TStatsTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_rows.at(index.row()).value(index.column());
    if (role == Qt::TextAlignmentRole && index.column() == m_numericColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TStatsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const QByteArray heading = m_headings.value(section).toUtf8();
        return tr(heading.constData());
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section == m_numericColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void TStatsTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_headings.size())
        return;
    const bool numeric = column == m_numericColumn;
    const auto less = [column, numeric](const QStringList &a, const QStringList &b) {
        const QString &x = a.at(column), &y = b.at(column);
        if (numeric && x.size() != y.size()) {
            // Whole decimal numbers without sign: the shorter is smaller; empty first.
            return x.size() < y.size();
        }
        if (column == 0 && x == y) // same date: by time
            return a.at(1) < b.at(1);
        return x < y;
    };
    emit layoutAboutToBeChanged();
    if (order == Qt::AscendingOrder)
        std::stable_sort(m_rows.begin(), m_rows.end(), less);
    else
        std::stable_sort(m_rows.begin(), m_rows.end(),
                         [&less](const QStringList &a, const QStringList &b) { return less(b, a); });
    emit layoutChanged();
}

// ---------------------------------------------------------------------------------------------

TfrmSelectDateRange::TfrmSelectDateRange(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmSelectDateRange"));
    setWindowTitle(tr("Select date range"));
    rbBetween = named(new QRadioButton(tr("between")), QStringLiteral("rbBetween"));
    rbMonths = named(new QRadioButton(tr("during the previous")), QStringLiteral("rbMonths"));
    rbDays = named(new QRadioButton(tr("during the previous")), QStringLiteral("rbDays"));
    dtStart = named(new QDateEdit, QStringLiteral("dtStart"));
    dtEnd = named(new QDateEdit, QStringLiteral("dtEnd"));
    for (QDateEdit *edit : {dtStart, dtEnd}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    edMonths = named(new QSpinBox, QStringLiteral("edMonths"));
    edMonths->setRange(1, 12);
    edMonths->setValue(1);
    edDays = named(new QSpinBox, QStringLiteral("edDays"));
    edDays->setRange(1, 365);
    edDays->setValue(1);
    rbBetween->setChecked(true);

    auto *grid = new QGridLayout;
    grid->addWidget(rbBetween, 0, 0);
    grid->addWidget(dtStart, 0, 1);
    grid->addWidget(new QLabel(tr("and")), 0, 2);
    grid->addWidget(dtEnd, 0, 3);
    grid->addWidget(rbMonths, 1, 0);
    grid->addWidget(edMonths, 1, 1);
    grid->addWidget(new QLabel(tr("months")), 1, 2);
    grid->addWidget(rbDays, 2, 0);
    grid->addWidget(edDays, 2, 1);
    grid->addWidget(new QLabel(tr("days")), 2, 2);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    for (QRadioButton *rb : {rbBetween, rbMonths, rbDays})
        connect(rb, &QRadioButton::clicked, this, &TfrmSelectDateRange::computeStartEnd);
    // One end edited past the other takes the other along.
    connect(dtStart, &QDateEdit::dateChanged, this, [this](QDate start) {
        if (start > dtEnd->date())
            dtEnd->setDate(start);
    });
    connect(dtEnd, &QDateEdit::dateChanged, this, [this](QDate end) {
        if (end < dtStart->date())
            dtStart->setDate(end);
    });
}

void TfrmSelectDateRange::SetRange(const QDate &start, const QDate &end)
{
    // The end first, so that a start later than the old end does not move it.
    dtEnd->setDate(end);
    dtStart->setDate(start);
    dtEnd->setDate(end);
    m_start = dtStart->date();
    m_end = dtEnd->date();
}

void TfrmSelectDateRange::computeStartEnd()
{
    const QDate now = today();
    if (rbMonths->isChecked()) {
        m_end = now;
        m_start = PreviousMonthsStart(now, edMonths->value());
    } else if (rbDays->isChecked()) {
        m_end = now;
        m_start = PreviousDaysStart(now, edDays->value());
    } else {
        m_start = dtStart->date();
        m_end = dtEnd->date();
    }
    dtStart->setEnabled(rbBetween->isChecked());
    dtEnd->setEnabled(rbBetween->isChecked());
    edMonths->setEnabled(rbMonths->isChecked());
    edDays->setEnabled(rbDays->isChecked());
}

void TfrmSelectDateRange::showEvent(QShowEvent *event)
{
    computeStartEnd();
    QDialog::showEvent(event);
}

void TfrmSelectDateRange::accept()
{
    computeStartEnd();
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------

bool TfrmChartMain::s_busy = false;

bool TfrmChartMain::Busy()
{
    return s_busy;
}

TfrmChartMain::TfrmChartMain(const QString &logFile, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmChartMain"));
    setWindowTitle(tr("Statistics"));
    // No name set yet: the log is where the program writes it when no name is given.
    edLogFile = named(new QLineEdit(logFile.trimmed().isEmpty() ? DefaultLogFileName() : logFile),
                      QStringLiteral("edLogFile"));
    edLogFile->setMinimumWidth(360);
    btBrowse = named(new QPushButton(tr("&Browse...")), QStringLiteral("btBrowse"));
    btOK = named(new QPushButton(tr("OK")), QStringLiteral("btOK"));
    btCancel = named(new QPushButton(tr("Cancel")), QStringLiteral("btCancel"));
    btOK->setDefault(true);
    progress = named(new QProgressBar, QStringLiteral("progress"));
    progress->setRange(0, 1000);
    progress->setTextVisible(false);
    progress->hide();

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(edLogFile, 1);
    fileRow->addWidget(btBrowse);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Activity log file:")));
    layout->addLayout(fileRow);
    layout->addWidget(progress);
    layout->addLayout(buttons);

    errorBox = [this](const QString &text, const QString &detail) {
        QMessageBox box(QMessageBox::Critical, tr("Statistics"), text, QMessageBox::Ok, this);
        box.setInformativeText(detail);
        box.exec();
    };
    connect(btBrowse, &QPushButton::clicked, this, &TfrmChartMain::btBrowseClick);
    connect(btOK, &QPushButton::clicked, this, &TfrmChartMain::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmChartMain::btBrowseClick()
{
    QFileDialog dialog(this, tr("Location of Tarnwick activity log file"),
                       QFileInfo(edLogFile->text()).absolutePath(),
                       tr("Activity log files (*.txt);;All files (*)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        edLogFile->setText(dialog.selectedFiles().constFirst());
}

void TfrmChartMain::btOKClick()
{
    if (s_busy)
        return;
    s_busy = true;
    // Clears the flag and restores the cursor however this is left.
    struct Done
    {
        ~Done() { s_busy = false; }
    } done;
    TfrmChart chart(this);
    ActivityLogReadResult result;
    {
        TBusyCursor busy;
        progress->setValue(0);
        progress->show();
        result = chart.readInLogFile(edLogFile->text().trimmed(), [this](qint64 read, qint64 total) {
            progress->setValue(total > 0 ? int(read * 1000 / total) : 1000);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        progress->hide();
        if (result.ok)
            chart.btPlotClick();
    }
    if (!result.ok) {
        errorBox(result.error, result.detail);
        return;
    }
    hide();
    chart.exec();
    accept();
}

void ShowStatistics(QWidget *parent, const QString &logFile)
{
    if (TfrmChartMain::Busy())
        return;
    TfrmChartMain dialog(logFile, parent);
    dialog.exec();
}
