#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class UserSettings;

// "About Tarnwick": what the program is, and a small toy: a button that counts the clicks it
// gets, kept from one run to the next.
class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(UserSettings &settings, QWidget *parent = nullptr);
    ~TfrmAbout() override;

    QPushButton *btPoint = nullptr;
    QLabel *lblPoints = nullptr;
    int Points() const { return m_points; }

private:
    void showPoints();

    UserSettings &m_settings;
    int m_points = 0;
};
