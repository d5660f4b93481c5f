#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "View Selected Headers": a read-only text with a title saying what it shows.
class TfrmViewHeader : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmViewHeader(QWidget *parent = nullptr);

    bool ViewingHeaders = false;
    bool ViewingReasons = false;

    void AddLine(const QString &line);
    // The whole text at once, one entry a line.
    void SetLines(const QStringList &lines);
    // A message viewed from its file: the button btOpen hands that file to the desktop's
    // program for mail. Without a file the button stays hidden.
    void SetMessageFile(const QString &file);
    QString MessageFile() const { return m_file; }
    QString Text() const;

    QLabel *lblTitle = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *btOK = nullptr;
    QPushButton *btOpen = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void btOpenClick();

    QString m_file;
};
