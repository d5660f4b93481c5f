#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TSpamSettings;

// "Import new keywords": a box of lines, typed, pasted or loaded from a text file, that
// become subject rules (keywords) or exceptions (e-mail addresses), one per line. The
// settings window stores the lists afterwards, whether the dialog ended with OK or not.
class TfrmImportSpam : public QDialog
{
    Q_OBJECT

public:
    enum class Kind { Keywords, Addresses };

    explicit TfrmImportSpam(QWidget *parent = nullptr);

    // Sets the title: "Import spam keywords" or "Import e-mail addresses".
    void SetKind(Kind kind);
    Kind CurrentKind() const { return m_kind; }

    // The box's lines, each line identical to the one directly above it left out.
    QStringList Lines() const;
    // Adds the usable lines of a text file to the box and says in the dialog how many were
    // added and how many skipped. False (with the reason shown) when nothing could be read.
    bool LoadFile(const QString &path);
    // Hands Lines() to the import of the current kind; returns the number of rules added.
    int ImportInto(TSpamSettings &settings) const;

    // Empties the box, shows the dialog for the kind and imports on OK. Returns the number of
    // rules added, or -1 when the dialog was cancelled.
    int Run(TSpamSettings &settings, Kind kind);

    QLabel *lbTitle = nullptr;
    QPlainTextEdit *memoImport = nullptr;
    QLabel *lbExplain = nullptr;
    QLabel *lbLoaded = nullptr;
    QPushButton *btLoad = nullptr;
    QPushButton *btOK = nullptr;
    QPushButton *btCancel = nullptr;

private:
    void btLoadClick();
    void showLoaded(const QString &text, bool problem);

    Kind m_kind = Kind::Keywords;
};
