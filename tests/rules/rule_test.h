#pragma once

#include "ruletable.h"

// The cells of one rule row, and writing them, for tables built or checked cell by cell.
inline QStringList rowCells(const RuleTable &t, int row)
{
    QStringList cells;
    for (int col = 0; col < t.ColCount(); ++col)
        cells.append(t.Cells(col, row));
    return cells;
}

inline void setRow(RuleTable &t, int row, const QStringList &cells)
{
    for (int col = 0; col < cells.size(); ++col)
        t.SetCells(col, row, cells.at(col));
}
