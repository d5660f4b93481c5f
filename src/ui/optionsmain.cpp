#include "optionsmain.h"

#include "blacklistpage.h"
#include "importspam.h"
#include "pictures.h"
#include "prompts.h"
#include "ruledialogs.h"
#include "ruleforms.h"
#include "settings.h"
#include "spamsettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTime>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>

namespace {

const std::array<QString, 4> kSections{SettingsSection::Subject, SettingsSection::Headers,
                                       SettingsSection::Sender, SettingsSection::Exceptions};

// Widths of the shown columns: the picture column narrow, "Matches" wide.
QList<int> defaultWidths(RuleTable::Kind kind)
{
    switch (kind) {
    case RuleTable::Kind::Subject: return {28, 150, 220, 50, 50, 60};
    case RuleTable::Kind::Header: return {28, 150, 260, 50, 50, 60};
    case RuleTable::Kind::From: return {28, 120, 150, 200, 50, 60};
    case RuleTable::Kind::Except: return {110, 150, 200, 55, 60, 40};
    }
    return {};
}

// The busy pointer while files are read or written.
struct BusyCursor
{
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

// --- the table model as shown ---

TRuleViewModel::TRuleViewModel(RuleTable &table, TPrompts &prompts, QObject *parent)
    : QIdentityProxyModel(parent), m_table(table), m_prompts(prompts)
{
    setSourceModel(&table);
}

int TRuleViewModel::matchesColumn() const
{
    return m_table.kind() == RuleTable::Kind::From ? 3 : 2;
}

QVariant TRuleViewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int row = index.row() + 1;
    const int col = index.column();
    if (role == Qt::DecorationRole && col == m_table.PictureColumn()) {
        const QIcon icon = MarkPicture(m_table.Picture(row));
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    // The picture in words, for a screen reader.
    if ((role == Qt::AccessibleTextRole || role == Qt::AccessibleDescriptionRole) && col == m_table.PictureColumn()) {
        const QString name = MarkName(m_table.Picture(row));
        return name.isEmpty() ? QVariant() : QVariant(name);
    }
    if (role == Qt::TextAlignmentRole && col == m_table.HitColumn())
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (col == matchesColumn() && (role == Qt::FontRole || role == Qt::ForegroundRole)) {
        const bool del = m_table.kind() == RuleTable::Kind::Except || m_table.Cells(4, row) == QStringLiteral("Yes");
        if (role == Qt::FontRole && del) {
            QFont f;
            f.setBold(true);
            return f;
        }
        if (role == Qt::ForegroundRole && !del)
            return AccentTextColor(QApplication::palette());
        return QVariant();
    }
    return QIdentityProxyModel::data(index, role);
}

bool TRuleViewModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role == Qt::EditRole && index.isValid()) {
        const QString error = CheckCellEdit(m_table, index.column(), index.row() + 1, value.toString());
        if (!error.isEmpty()) {
            m_prompts.ErrorBox(error);
            return false;
        }
    }
    return QIdentityProxyModel::setData(index, value, role);
}

QVariant TRuleViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole && SortableColumns(m_table.kind()).contains(section))
        return tr("Click to sort the rules by this column. This changes the order in which "
                              "the rules are tried.");
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        // The headings live with the rule lists, which know no language.
        [[maybe_unused]] static const char *const kHeadings[] = {QT_TR_NOOP("What"), QT_TR_NOOP("Matches"), QT_TR_NOOP("Case"),
                                                QT_TR_NOOP("Del?"), QT_TR_NOOP("Hits"), QT_TR_NOOP("Condition"),
                                                QT_TR_NOOP("Case?")};
        const QByteArray heading = QIdentityProxyModel::headerData(section, orientation, role).toString().toUtf8();
        return tr(heading.constData());
    }
    return QIdentityProxyModel::headerData(section, orientation, role);
}

void TRuleViewModel::sort(int column, Qt::SortOrder order)
{
    if (SortableColumns(m_table.kind()).contains(column))
        SortRules(m_table, column, order);
}

// --- printing ---

void PrintRuleTable(QPrinter &printer, const RuleTable &table, const QString &title)
{
    QPainter p;
    if (!p.begin(&printer))
        return;
    const QRect page = p.viewport();
    const QFontMetrics fm(p.font());
    const int line = fm.height() + fm.height() / 3;
    QList<int> cols;
    for (int c = 0; c < table.VisibleColumns(); ++c)
        if (c != table.PictureColumn())
            cols << c;
    // Column widths in proportion to their longest text, headings included.
    QList<int> want;
    for (int c : cols) {
        int w = fm.horizontalAdvance(table.Cells(c, 0));
        for (int r = 1; r < table.RowCount(); ++r)
            w = qMax(w, fm.horizontalAdvance(table.Cells(c, r)));
        want << qMin(w, page.width() / 2) + fm.averageCharWidth() * 2;
    }
    int total = 0;
    for (int w : want)
        total += w;
    const double scale = total > page.width() ? double(page.width()) / total : 1.0;

    const QString date = QDate::currentDate().toString(Qt::ISODate);
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm"));
    QFont bold = p.font();
    bold.setBold(true);
    const QFont plain = p.font();
    int pageNo = 1;
    int row = 1;
    while (true) {
        p.setFont(plain);
        p.drawText(page.left(), page.top() + fm.ascent(), date);
        p.drawText(page.right() - fm.horizontalAdvance(time), page.top() + fm.ascent(), time);
        p.setFont(bold);
        p.drawText(QRect(page.left(), page.top(), page.width(), line), Qt::AlignHCenter | Qt::AlignTop, title);
        int y = page.top() + 2 * line;
        auto drawRow = [&](int r) {
            int x = page.left();
            for (int i = 0; i < cols.size(); ++i) {
                const int w = int(want.at(i) * scale);
                const QString text = fm.elidedText(table.Cells(cols.at(i), r), Qt::ElideRight, w - fm.averageCharWidth());
                p.drawText(QRect(x, y, w, line), Qt::AlignLeft | Qt::AlignVCenter, text);
                x += w;
            }
            y += line;
        };
        drawRow(0);
        p.drawLine(page.left(), y, page.right(), y);
        p.setFont(plain);
        const int bottom = page.bottom() - 2 * line;
        while (row < table.RowCount() && y + line <= bottom) {
            if (!table.IsRowBlank(row))
                drawRow(row);
            ++row;
        }
        const QString number = QCoreApplication::translate("TfrmOptionsMain", "Page %1").arg(pageNo);
        p.drawText(page.right() - fm.horizontalAdvance(number), page.bottom() - fm.descent(), number);
        if (row >= table.RowCount())
            break;
        printer.newPage();
        ++pageNo;
    }
    p.end();
}

// --- the window ---

TfrmOptionsMain::TfrmOptionsMain(TSpamSettings &spam, TKnownList &known, UserSettings &store, TPrompts &prompts,
                                 QWidget *parent)
    : QDialog(parent), m_spam(spam), m_store(store), m_prompts(prompts)
{
    setWindowTitle(tr("Spam Settings"));
    auto *layout = new QVBoxLayout(this);
    tabs = new QTabWidget(this);
    tabs->addTab(listPage(SubjectList,
                          tr("If a subject line matches the criteria below the email will be considered a SPAM"),
                          true),
                 tr("Subject"));
    tabs->addTab(listPage(HeaderList,
                          tr("If an e-mail header matches a criteria below it will be considered a SPAM."),
                          false),
                 tr("Headers"));
    tabs->addTab(listPage(SenderList,
                          tr("If a message is from someone matching a pattern below it will be considered a SPAM"),
                          false),
                 tr("Sender"));
    tabs->addTab(sizePage(), tr("Size"));
    tabs->addTab(listPage(ExceptList,
                          tr("Always accept e-mail under the following conditions. Message will be marked "
                                         "with a bitmap."),
                          true),
                 tr("Exceptions"));
    BlackList = new TBlackListPage(spam, known, this);
    BlackList->SetPrompts(&m_prompts);
    tabs->addTab(BlackList, tr("BlackList"));
    layout->addWidget(tabs);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *help = buttons->addButton(tr("&Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmOptionsMain::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TfrmOptionsMain::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_help)
            m_help();
    });
    layout->addWidget(buttons);
    resize(760, 480);
    readSizeControls();
}

RuleTable &TfrmOptionsMain::Table(int list)
{
    switch (list) {
    case HeaderList: return m_spam.gridHeader;
    case SenderList: return m_spam.gridFrom;
    case ExceptList: return m_spam.gridExcept;
    default: return m_spam.gridSubject;
    }
}

QString TfrmOptionsMain::PrintTitle(int list)
{
    switch (list) {
    case HeaderList: return tr("Tarnwick - Email Header Settings");
    case SenderList: return tr("Tarnwick - Sender Settings");
    case ExceptList: return tr("Tarnwick - List of Exceptions ");
    default: return tr("Tarnwick - Subject Line Settings");
    }
}

QWidget *TfrmOptionsMain::listPage(int list, const QString &text, bool import)
{
    auto *page = new QWidget(this);
    auto *layout = new QGridLayout(page);
    auto *label = new QLabel(text, page);
    label->setWordWrap(true);
    layout->addWidget(label, 0, 0, 1, 2);

    RuleTable &table = Table(list);
    table.SetEditableColumns(EditableColumns(table.kind()));
    auto *model = new TRuleViewModel(table, m_prompts, page);
    m_models[list] = model;
    auto *view = new QTableView(page);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setSortIndicatorShown(false);
    view->setIconSize(QSize(16, 16));
    const QList<int> widths = ReadColumnWidths(m_store, kSections.at(list), defaultWidths(table.kind()));
    for (int c = 0; c < widths.size() && c < model->columnCount(); ++c)
        view->setColumnWidth(c, widths.at(c));
    view->installEventFilter(this);
    m_views[list] = view;
    layout->addWidget(view, 1, 0);

    // A click on a sortable heading sorts the rules; a second click reverses the order.
    connect(view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this, list, view, model](int section) {
        if (!SortableColumns(Table(list).kind()).contains(section))
            return;
        QHeaderView *h = view->horizontalHeader();
        const Qt::SortOrder order = h->isSortIndicatorShown() && h->sortIndicatorSection() == section
                && h->sortIndicatorOrder() == Qt::AscendingOrder
            ? Qt::DescendingOrder
            : Qt::AscendingOrder;
        h->setSortIndicatorShown(true);
        h->setSortIndicator(section, order);
        model->sort(section, order);
    });
    connect(view, &QTableView::doubleClicked, this, [this, list] { btEditClick(list); });
    connect(&table, &QAbstractItemModel::modelReset, this, &TfrmOptionsMain::updateCounts);
    connect(&table, &QAbstractItemModel::rowsInserted, this, &TfrmOptionsMain::updateCounts);
    connect(&table, &QAbstractItemModel::rowsRemoved, this, &TfrmOptionsMain::updateCounts);
    connect(&table, &QAbstractItemModel::dataChanged, this, &TfrmOptionsMain::updateCounts);

    auto *side = new QVBoxLayout();
    auto button = [&](const QString &caption, auto slot) {
        auto *b = new QPushButton(caption, page);
        connect(b, &QPushButton::clicked, this, slot);
        side->addWidget(b);
        return b;
    };
    button(tr("&Insert"), [this, list] { btInsertClick(list); })->setObjectName(QStringLiteral("btInsert"));
    button(tr("&Delete"), [this, list] { btDeleteClick(list); })->setObjectName(QStringLiteral("btDelete"));
    button(tr("&Edit"), [this, list] { btEditClick(list); })->setObjectName(QStringLiteral("btEdit"));
    button(tr("&Print"), [this, list] { btPrintClick(list); })->setObjectName(QStringLiteral("btPrint"));
    if (import) {
        button(tr("I&mport"), [this, list] { btImportClick(list); })
            ->setObjectName(QStringLiteral("btImport"));
    }
    auto *up = new QToolButton(page);
    up->setArrowType(Qt::UpArrow);
    up->setToolTip(tr("Move item up one row"));
    up->setAccessibleName(tr("Move up"));
    up->setAccessibleDescription(up->toolTip());
    up->setObjectName(QStringLiteral("btUp"));
    auto *down = new QToolButton(page);
    down->setArrowType(Qt::DownArrow);
    down->setToolTip(tr("Move item down one row"));
    down->setAccessibleName(tr("Move down"));
    down->setAccessibleDescription(down->toolTip());
    down->setObjectName(QStringLiteral("btDown"));
    connect(up, &QToolButton::clicked, this, [this, list] { btMoveClick(list, -1); });
    connect(down, &QToolButton::clicked, this, [this, list] { btMoveClick(list, 1); });
    auto *moves = new QHBoxLayout();
    moves->addWidget(up);
    moves->addWidget(down);
    moves->addStretch(1);
    side->addLayout(moves);
    side->addStretch(1);
    layout->addLayout(side, 1, 1);
    // The table takes the spare width; the buttons keep their own.
    layout->setColumnStretch(0, 1);
    m_counts[list] = new QLabel(page);
    layout->addWidget(m_counts.at(list), 2, 0, 1, 2);
    return page;
}

QWidget *TfrmOptionsMain::sizePage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *note = new QLabel(tr("Note: Only messages with a check mark will be deleted.  The question mark is "
                                           "to notify you of a potential spam message to delete."),
                            page);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto group = [&](const QString &caption, QCheckBox *&box, QSpinBox *&number, QRadioButton *&check,
                     QRadioButton *&question) {
        auto *g = new QGroupBox(page);
        auto *grid = new QGridLayout(g);
        box = new QCheckBox(caption, g);
        number = new QSpinBox(g);
        number->setRange(0, INT_MAX);
        number->setMinimumWidth(110);
        check = new QRadioButton(tr("check mark"), g);
        check->setIcon(MarkPicture(0));
        question = new QRadioButton(tr("question"), g);
        question->setIcon(MarkPicture(1));
        grid->addWidget(box, 0, 0);
        grid->addWidget(number, 0, 1);
        grid->addWidget(new QLabel(tr("bytes, "), g), 0, 2);
        grid->addWidget(new QLabel(tr("then mark the message with a"), g), 1, 0, Qt::AlignRight);
        grid->addWidget(check, 1, 1);
        grid->addWidget(question, 1, 2);
        grid->setColumnStretch(3, 1);
        connect(box, &QCheckBox::toggled, this, &TfrmOptionsMain::sizeEnabled);
        layout->addWidget(g);
    };
    group(tr("If the message size is smaller than"), chkSmaller, edSmaller, rbSmallerCheck, rbSmallerQuestion);
    group(tr("If the message size is larger than"), chkLarger, edLarger, rbLargerCheck, rbLargerQuestion);
    layout->addStretch(1);
    return page;
}

void TfrmOptionsMain::sizeEnabled()
{
    for (QWidget *w : std::initializer_list<QWidget *>{edSmaller, rbSmallerCheck, rbSmallerQuestion})
        w->setEnabled(chkSmaller->isChecked());
    for (QWidget *w : std::initializer_list<QWidget *>{edLarger, rbLargerCheck, rbLargerQuestion})
        w->setEnabled(chkLarger->isChecked());
}

void TfrmOptionsMain::readSizeControls()
{
    chkSmaller->setChecked(m_spam.smaller.on);
    edSmaller->setValue(qMax(0, m_spam.smaller.limit));
    (m_spam.smaller.check ? rbSmallerCheck : rbSmallerQuestion)->setChecked(true);
    chkLarger->setChecked(m_spam.larger.on);
    edLarger->setValue(qMax(0, m_spam.larger.limit));
    (m_spam.larger.check ? rbLargerCheck : rbLargerQuestion)->setChecked(true);
    sizeEnabled();
}

void TfrmOptionsMain::writeSizeControls()
{
    m_spam.smaller = TSizeRule{chkSmaller->isChecked(), edSmaller->value(), rbSmallerCheck->isChecked()};
    m_spam.larger = TSizeRule{chkLarger->isChecked(), edLarger->value(), rbLargerCheck->isChecked()};
}

void TfrmOptionsMain::showEvent(QShowEvent *event)
{
    m_spam.SetGridHeadings();
    readSizeControls();
    updateCounts();
    BlackList->LoadMemoofKnownSpammers();
    QDialog::showEvent(event);
}

bool TfrmOptionsMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        for (int list = 0; list < 4; ++list)
            if (watched == m_views.at(list)) { // while a cell is edited, its editor has the key
                btDeleteClick(list);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmOptionsMain::updateCounts()
{
    for (int list = 0; list < 4; ++list) {
        if (!m_counts.at(list))
            continue;
        // Blank rows are no rules: an empty list counts 0, not its one blank row.
        const RuleTable &table = Table(list);
        int n = 0;
        for (int row = 1; row < table.RowCount(); ++row)
            if (!table.IsRowBlank(row))
                ++n;
        m_counts.at(list)->setText(n == 1 ? tr("1 rule") : tr("%1 rules").arg(n));
    }
}

int TfrmOptionsMain::currentRow(int list) const
{
    const QModelIndex index = m_views.at(list)->currentIndex();
    return index.isValid() ? index.row() + 1 : -1;
}

void TfrmOptionsMain::selectRow(int list, int row)
{
    QTableView *view = m_views.at(list);
    const QModelIndex index = view->model()->index(row - 1, qMax(0, view->currentIndex().column()));
    view->setCurrentIndex(index);
    view->selectRow(row - 1);
}

bool TfrmOptionsMain::runRuleDialog(int list, int row, bool edit)
{
    RuleTable &table = Table(list);
    auto run = [this](QDialog &d) { return m_run ? m_run(d) : d.exec(); };
    // The row is chosen only after OK, so Cancel leaves the list untouched.
    auto place = [&]() { return edit ? row : InsertRuleRow(table, row); };
    switch (list) {
    case SubjectList: {
        TfrmOptionsSubject d(m_prompts, this);
        if (edit)
            d.SetForm(ReadSubjectRule(table, row));
        if (run(d) != QDialog::Accepted)
            return false;
        row = place();
        WriteSubjectRule(table, row, d.Form());
        break;
    }
    case HeaderList: {
        TfrmHeaders d(m_prompts, m_mailboxes, this);
        if (edit)
            d.SetForm(ReadHeaderRule(table, row));
        if (run(d) != QDialog::Accepted)
            return false;
        row = place();
        WriteHeaderRule(table, row, d.Form());
        break;
    }
    case SenderList: {
        TfrmOptionsFROM d(m_prompts, this);
        if (edit)
            d.SetForm(ReadSenderRule(table, row));
        if (run(d) != QDialog::Accepted)
            return false;
        row = place();
        WriteSenderRule(table, row, d.Form());
        break;
    }
    default: {
        TfrmAlwaysAccept d(m_prompts, this);
        if (edit)
            d.SetForm(ReadExceptRule(table, row));
        if (run(d) != QDialog::Accepted)
            return false;
        row = place();
        WriteExceptRule(table, row, d.Form());
        break;
    }
    }
    selectRow(list, row);
    updateCounts();
    return true;
}

void TfrmOptionsMain::btInsertClick(int list)
{
    runRuleDialog(list, currentRow(list), false);
}

void TfrmOptionsMain::btEditClick(int list)
{
    const int row = currentRow(list);
    if (row < 1 || Table(list).Cells(1, row).isEmpty()) {
        m_prompts.ErrorBox(tr("Error: nothing selected to edit"));
        return;
    }
    runRuleDialog(list, row, true);
}

void TfrmOptionsMain::btDeleteClick(int list)
{
    const int row = currentRow(list);
    DeleteRule(Table(list), row);
    updateCounts();
}

void TfrmOptionsMain::btMoveClick(int list, int step)
{
    const int row = currentRow(list);
    const int other = row + step;
    RuleTable &table = Table(list);
    if (row < 1 || other < 1 || other >= table.RowCount())
        return;
    SwapRules(table, row, other);
    selectRow(list, other);
}

void TfrmOptionsMain::btImportClick(int list)
{
    {
        TfrmImportSpam dialog(this);
        dialog.Run(m_spam, list == ExceptList ? TfrmImportSpam::Kind::Addresses : TfrmImportSpam::Kind::Keywords);
    }
    // Stored whether the import ended with OK or not, with every edit made in the window so
    // far: a later Cancel goes back to this state.
    writeSizeControls();
    QString error;
    bool saved = false;
    {
        BusyCursor busy;
        saved = m_spam.Savesettings(&error);
    }
    if (!saved)
        m_prompts.ErrorBox(tr("The spam settings could not be saved:\n") + error);
    updateCounts();
}

void TfrmOptionsMain::btPrintClick(int list, QPrinter *printer)
{
    if (printer) {
        PrintRuleTable(*printer, Table(list), PrintTitle(list));
        return;
    }
    QPrinter chosen(QPrinter::HighResolution);
    chosen.setDocName(PrintTitle(list).trimmed());
    QPrintDialog dialog(&chosen, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintRuleTable(chosen, Table(list), PrintTitle(list));
}

void TfrmOptionsMain::saveWidths()
{
    for (int list = 0; list < 4; ++list) {
        QList<int> widths;
        for (int c = 0; c < m_views.at(list)->model()->columnCount(); ++c)
            widths << m_views.at(list)->columnWidth(c);
        SaveColumnWidths(m_store, kSections.at(list), widths);
    }
}

void TfrmOptionsMain::accept()
{
    for (int list = 0; list < 4; ++list)
        TSpamSettings::DeleteDupsFromGrid(Table(list));
    writeSizeControls();
    QString error;
    bool saved = false;
    {
        BusyCursor busy;
        saved = m_spam.Savesettings(&error);
    }
    if (!saved) {
        // The window stays open with every edit, so the user can mend the cause and try again.
        m_prompts.ErrorBox(tr("The spam settings could not be saved:\n") + error);
        return;
    }
    // The page reports its own failure and keeps the edit; the window stays open with it.
    if (BlackList->SavePending() && !BlackList->btSaveChangesClick())
        return;
    saveWidths();
    QDialog::accept();
}

void TfrmOptionsMain::reject()
{
    {
        BusyCursor busy;
        m_spam.readSettings();
    }
    readSizeControls();
    updateCounts();
    if (BlackList->SavePending())
        BlackList->btCancelChangesClick();
    BlackList->ShowKnownSwitch();
    saveWidths();
    QDialog::reject();
}
