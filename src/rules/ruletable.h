#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

// The columns of each kind of list, named by what they hold. Every reader and writer of a
// rule row goes through these names (and through the row readers of ruleforms.h), so the
// evaluation, the editors and the files agree on where a value lives.
struct SubjectCol
{
    static constexpr int Picture = 0, Operator = 1, Text = 2, Case = 3, Del = 4, Hits = 5;
};
// "What" is a text operator, "Sender" or "To does not contain"; "Text" the value it needs.
struct HeaderCol
{
    static constexpr int Picture = 0, What = 1, Text = 2, Case = 3, Del = 4, Hits = 5;
};
// "What" is "E-mail address" or "Domain name".
struct SenderCol
{
    static constexpr int Picture = 0, What = 1, Operator = 2, Text = 3, Del = 4, Hits = 5;
};
// "What" is "E-mail address", "Domain name" or the header to look in; "PictureIndex" is the
// hidden column that stores the number of the picture shown in "Picture".
struct ExceptCol
{
    static constexpr int What = 0, Operator = 1, Text = 2, Case = 3, Hits = 4, Picture = 5, PictureIndex = 6;
};

// The three lists with a "Del?" column keep it in the same place, so reading the pictures
// back from a file needs no case per kind.
static_assert(SubjectCol::Del == HeaderCol::Del && HeaderCol::Del == SenderCol::Del);

// One rule list: a table of text cells addressed as (column, row). Row 0 holds the
// headings, rows 1 ... RowCount()-1 the rules in evaluation order. The table never has
// fewer than two rows; an empty list is the heading row and one blank row, which is not a
// rule.
//
// Besides the text, each row has a picture index (the same pictures that mark messages):
// 0 check mark, 1 question mark, 3 ... 14 the exception pictures, -1 none. It belongs to
// the picture column (SubjectCol::Picture, or ExceptCol::Picture), is never stored in the file and is rebuilt
// from the other cells whenever the list is read.
//
// As a model for the views: model row r is rule row r + 1, the headings are the header
// data, and the exceptions' hidden picture-index column is not a model column. The
// picture column's cell has no display text; its picture comes with PictureRole.
class RuleTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Kind { Subject, Header, From, Except };
    enum { PictureRole = Qt::UserRole + 1 };

    // Sane limits for a list file: no cell beyond row kMaxRows is read, and a row count
    // that leaves more blank rows than kMaxTrailingBlankRows after the last cell is not kept,
    // so a damaged count cannot make a start-up allocate gigabytes.
    static constexpr int kMaxRows = 100000;
    static constexpr int kMaxTrailingBlankRows = 100;

    explicit RuleTable(Kind kind, QObject *parent = nullptr);

    Kind kind() const { return m_kind; }
    // 6 for subjects, headers and senders; 7 for exceptions (one hidden).
    int ColCount() const { return m_colCount; }
    int RowCount() const { return int(m_rows.size()); }
    int PictureColumn() const { return m_kind == Kind::Except ? ExceptCol::Picture : SubjectCol::Picture; }
    int HitColumn() const { return m_kind == Kind::Except ? ExceptCol::Hits : SubjectCol::Hits; }
    // Every list shows six columns; the exceptions' seventh is hidden.
    int VisibleColumns() const { return 6; }

    // Empty text outside the table.
    QString Cells(int col, int row) const;
    // Ignored outside the table.
    void SetCells(int col, int row, const QString &text);
    int Picture(int row) const;
    // Rows outside 1 ... RowCount()-1 are left alone.
    void SetPicture(int row, int picture);

    // Grows with blank rows or drops rows from the end; never below two rows.
    void SetRowCount(int rows);
    // A new blank row at index row (1 ... RowCount()); the rows from there move down.
    void InsertRow(int row);
    // Removes a rule row; the last rule leaves a blank row behind so two rows remain.
    void DeleteRow(int row);
    bool IsRowBlank(int row) const;
    // The heading row plus one blank row.
    bool IsEmptyList() const;
    // Removes every rule; the headings stay.
    void ClearRules();

    // The row a rule added at the end goes to: the first of the blank rows that end the
    // table (the blank row of an empty list), otherwise a new last row. A scan stops at the
    // first rule without an operator, so a new rule behind blank rows would never be seen.
    int AppendRule();
    // The row a rule added at the top goes to: row 1 when it is blank (the blank row of an
    // empty list), otherwise a new row 1 above all others.
    int InsertRuleAtTop();

    // --- list files ---

    // Replaces the whole content with a list file's lines ("cols,rows", then "col,row,text").
    // A damaged file is read as far as it is sound: lines that are not a cell, or name a cell
    // outside the declared size or outside this list's columns, are skipped and described in
    // problems. The result always has this list's column count and at least two rows.
    // All pictures are cleared; the caller rebuilds them.
    void ReadLines(const QStringList &lines, QStringList *problems = nullptr);
    // The file's lines: "cols,rows", then one line for every non-empty cell, rows in order,
    // columns left to right; CR in a cell written as tab, LF as backspace (code 8).
    QStringList WriteLines() const;

    static QString EncodeCellText(const QString &text);
    static QString DecodeCellText(const QString &text);

    // --- model ---
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Columns the user may edit in place; none unless set.
    void SetEditableColumns(const QList<int> &columns) { m_editable = columns; }

private:
    struct Row
    {
        QStringList cells; // may be shorter than the column count; missing cells are empty
        int picture = -1;
    };

    void cellChanged(int col, int row);

    Kind m_kind;
    int m_colCount;
    QList<Row> m_rows;
    QList<int> m_editable;
};
