#pragma once

#include <QByteArray>
#include <QStringList>

// A file of keywords or addresses for the import dialog: plain text, one entry per line.
// Accepted: UTF-8 (with or without a byte-order mark), Latin-1 or other 8-bit text, and
// UTF-16 with a byte-order mark; lines ended by CR LF, LF or CR alone.
struct TImportFile
{
    // The usable lines in file order; blank lines are left out (the import skips them).
    QStringList lines;
    // Lines that were left out because they cannot be a keyword or an address: binary data
    // (control characters other than tab, undecodable bytes) or text longer than any subject
    // can be. An 8-bit file in a Windows code page loses its lines with curly quotes here:
    // they are counted and reported, not silently turned into control characters.
    int skipped = 0;
};

// The largest import file read; a bigger one is not a list of keywords.
constexpr qint64 kMaxImportFileBytes = 4 * 1024 * 1024;

TImportFile ParseImportFile(const QByteArray &bytes);
