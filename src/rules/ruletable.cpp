#include "ruletable.h"

#include "textutil.h"
#include "wording.h"

#include <limits>
#include <optional>

namespace {

// A decimal index such as "12" (blanks around it allowed); nothing for anything else,
// including signs and numbers that do not fit an int.
std::optional<int> parseIndex(QStringView text)
{
    const QString trimmed = TrimControls(text.toString());
    if (trimmed.isEmpty() || trimmed.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : trimmed) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

} // namespace

RuleTable::RuleTable(Kind kind, QObject *parent)
    : QAbstractTableModel(parent), m_kind(kind), m_colCount(kind == Kind::Except ? 7 : 6)
{
    m_rows.resize(2);
}

QString RuleTable::Cells(int col, int row) const
{
    if (row < 0 || row >= m_rows.size() || col < 0 || col >= m_colCount)
        return QString();
    const QStringList &cells = m_rows.at(row).cells;
    return col < cells.size() ? cells.at(col) : QString();
}

void RuleTable::SetCells(int col, int row, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || col < 0 || col >= m_colCount)
        return;
    QStringList &cells = m_rows[row].cells;
    if (col >= cells.size()) {
        if (text.isEmpty())
            return;
        cells.resize(m_colCount);
    }
    if (cells.at(col) == text)
        return;
    cells[col] = text;
    cellChanged(col, row);
}

int RuleTable::Picture(int row) const
{
    return (row >= 0 && row < m_rows.size()) ? m_rows.at(row).picture : -1;
}

void RuleTable::SetPicture(int row, int picture)
{
    if (row < 1 || row >= m_rows.size() || m_rows.at(row).picture == picture)
        return;
    m_rows[row].picture = picture;
    cellChanged(PictureColumn(), row);
}

void RuleTable::cellChanged(int col, int row)
{
    if (row == 0) {
        if (col < VisibleColumns())
            emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    if (col < VisibleColumns()) {
        const QModelIndex at = index(row - 1, col);
        emit dataChanged(at, at);
    }
}

void RuleTable::SetRowCount(int rows)
{
    rows = qMax(rows, 2);
    if (rows == m_rows.size())
        return;
    if (rows > m_rows.size()) {
        beginInsertRows(QModelIndex(), int(m_rows.size()) - 1, rows - 2);
        m_rows.resize(rows);
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), rows - 1, int(m_rows.size()) - 2);
        m_rows.resize(rows);
        endRemoveRows();
    }
}

void RuleTable::InsertRow(int row)
{
    row = qBound(1, row, RowCount());
    beginInsertRows(QModelIndex(), row - 1, row - 1);
    m_rows.insert(row, Row());
    endInsertRows();
}

void RuleTable::DeleteRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    if (RowCount() == 2) {
        m_rows[1] = Row();
        emit dataChanged(index(0, 0), index(0, VisibleColumns() - 1));
        return;
    }
    beginRemoveRows(QModelIndex(), row - 1, row - 1);
    m_rows.removeAt(row);
    endRemoveRows();
}

bool RuleTable::IsRowBlank(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return true;
    for (const QString &cell : m_rows.at(row).cells)
        if (!cell.isEmpty())
            return false;
    return true;
}

bool RuleTable::IsEmptyList() const
{
    return RowCount() == 2 && IsRowBlank(1);
}

void RuleTable::ClearRules()
{
    SetRowCount(2);
    m_rows[1] = Row();
    emit dataChanged(index(0, 0), index(0, VisibleColumns() - 1));
}

int RuleTable::AppendRule()
{
    int row = RowCount();
    while (row > 1 && IsRowBlank(row - 1))
        --row;
    if (row < RowCount()) {
        SetPicture(row, -1);
        return row;
    }
    InsertRow(row);
    return row;
}

int RuleTable::InsertRuleAtTop()
{
    if (IsRowBlank(1)) {
        SetPicture(1, -1);
        return 1;
    }
    InsertRow(1);
    return 1;
}

QString RuleTable::EncodeCellText(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c == u'\r')
            c = u'\t';
        else if (c == u'\n')
            c = QChar(8);
    }
    return out;
}

QString RuleTable::DecodeCellText(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c == u'\t')
            c = u'\r';
        else if (c == QChar(8))
            c = u'\n';
    }
    return out;
}

void RuleTable::ReadLines(const QStringList &lines, QStringList *problems)
{
    auto note = [problems](int lineIndex, const QString &what) {
        if (problems)
            problems->append(QStringLiteral("line %1: %2").arg(lineIndex + 1).arg(what));
    };

    std::optional<int> declaredCols;
    std::optional<int> declaredRows;
    int first = 0;
    if (!lines.isEmpty()) {
        QString head = lines.first();
        if (head.startsWith(QChar(0xFEFF)))
            head.remove(0, 1);
        const qsizetype comma = head.indexOf(u',');
        const std::optional<int> cols = comma < 0 ? std::nullopt : parseIndex(QStringView(head).left(comma));
        const std::optional<int> rows = comma < 0 ? std::nullopt : parseIndex(QStringView(head).mid(comma + 1));
        if (cols && rows) {
            first = 1;
            // A list always has a heading row and a rule row, and at least one column; a count
            // below that cannot be right, so the cells themselves decide.
            if (*cols >= 1)
                declaredCols = cols;
            else
                note(0, Said("Rules", "column count %1 ignored").arg(*cols));
            if (*rows >= 2)
                declaredRows = rows;
            else
                note(0, Said("Rules", "row count %1 ignored").arg(*rows));
        } else {
            // Not a size line: perhaps the size line was lost and this is already a cell.
            note(0, Said("Rules", "no column and row counts"));
        }
    }

    // An older or shorter file simply has empty columns at the end; cells beyond this list's
    // own columns are dropped, as a newer file's extra columns would be.
    const int colLimit = declaredCols ? qMin(*declaredCols, m_colCount) : m_colCount;
    const int rowLimit = declaredRows ? qMin(*declaredRows, kMaxRows) : kMaxRows;
    if (declaredRows && *declaredRows > kMaxRows)
        note(0, Said("Rules", "row count %1 is more than a list can have").arg(*declaredRows));

    beginResetModel();
    m_rows.clear();
    for (int i = first; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (TrimControls(line).isEmpty())
            continue;
        const qsizetype c1 = line.indexOf(u',');
        const qsizetype c2 = c1 < 0 ? -1 : line.indexOf(u',', c1 + 1);
        const std::optional<int> col = c2 < 0 ? std::nullopt : parseIndex(QStringView(line).left(c1));
        const std::optional<int> row = c2 < 0 ? std::nullopt : parseIndex(QStringView(line).mid(c1 + 1, c2 - c1 - 1));
        if (!col || !row) {
            if (i > 0)
                note(i, Said("Rules", "not a cell line"));
            continue;
        }
        if (*row >= rowLimit || (declaredCols && *col >= *declaredCols)) {
            note(i, Said("Rules", "cell %1,%2 lies outside the list's size").arg(*col).arg(*row));
            continue;
        }
        if (*col >= colLimit)
            continue;
        // An empty cell holds nothing and is never written; letting it make rows would read a
        // stray line as hundreds of blank rules that the next save could not read back.
        const QString text = DecodeCellText(line.mid(c2 + 1));
        if (text.isEmpty())
            continue;
        if (*row >= m_rows.size())
            m_rows.resize(*row + 1);
        QStringList &cells = m_rows[*row].cells;
        if (cells.size() < m_colCount)
            cells.resize(m_colCount);
        cells[*col] = text;
    }
    // A list may end in a few blank rows (the editor can leave them), but a count far beyond
    // the last cell is damage; blank rows hold nothing, so they are not kept then.
    const bool plausible = declaredRows && *declaredRows <= m_rows.size() + kMaxTrailingBlankRows;
    const int rows = plausible ? *declaredRows : int(m_rows.size());
    m_rows.resize(qMax(rows, 2));
    endResetModel();
}

QStringList RuleTable::WriteLines() const
{
    QStringList lines;
    lines.append(QStringLiteral("%1,%2").arg(m_colCount).arg(RowCount()));
    for (int row = 0; row < RowCount(); ++row)
        for (int col = 0; col < m_colCount; ++col) {
            const QString text = Cells(col, row);
            if (!text.isEmpty())
                lines.append(QStringLiteral("%1,%2,").arg(col).arg(row) + EncodeCellText(text));
        }
    return lines;
}

int RuleTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RowCount() - 1;
}

int RuleTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : VisibleColumns();
}

QVariant RuleTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() + 1 >= RowCount() || index.column() >= VisibleColumns())
        return QVariant();
    const int row = index.row() + 1;
    if (index.column() == PictureColumn()) {
        if (role == PictureRole)
            return Picture(row);
        return QVariant();
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return Cells(index.column(), row);
    return QVariant();
}

bool RuleTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() + 1 >= RowCount() || index.column() >= VisibleColumns())
        return false;
    const int row = index.row() + 1;
    if (index.column() == PictureColumn()) {
        if (role != PictureRole)
            return false;
        SetPicture(row, value.toInt());
        return true;
    }
    if (role != Qt::EditRole)
        return false;
    SetCells(index.column(), row, value.toString());
    return true;
}

QVariant RuleTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < VisibleColumns() ? QVariant(Cells(section, 0)) : QVariant();
    return section + 1;
}

Qt::ItemFlags RuleTable::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (m_editable.contains(index.column()) && index.column() != PictureColumn())
        f |= Qt::ItemIsEditable;
    return f;
}
