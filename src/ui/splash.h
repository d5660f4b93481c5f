#pragma once

#include <QSplashScreen>
#include <QTimer>

// The picture shown while the program starts. It shows its second picture when the windows
// are ready and closes itself 1500 ms later (timSplash).
class TfrmSplash : public QSplashScreen
{
    Q_OBJECT

public:
    static constexpr int kShowMs = 1500;

    TfrmSplash();
    // The windows exist: the second picture, then close after kShowMs.
    void Ready();

private:
    QTimer timSplash;
};
