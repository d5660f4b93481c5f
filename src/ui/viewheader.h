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
    QString Text() const;

    QLabel *lblTitle = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *btOK = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};
