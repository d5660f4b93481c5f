#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;
struct TProgressState;

// The animation anMail: a letter travelling from the server to the computer in ten frames,
// 300 ms apart, looping while it runs.
class TMailAnimation : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kFrames = 10;
    static constexpr int kFrameMs = 300;

    explicit TMailAnimation(QWidget *parent = nullptr);
    void Start();
    void Stop();
    bool IsRunning() const { return m_timer.isActive(); }
    int Frame() const { return m_frame; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer;
    int m_frame = 0;
};

// The progress window "Retrieving ...": which mailbox, what is happening, how far, and the
// one way out, "Click to cancel". It shows without blocking the main window; closing it is
// the same as the cancel button, since the work it shows cannot simply be left running
// without a window.
class TfrmRetrieving : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmRetrieving(QWidget *parent = nullptr);

    // Shows, updates or hides the window as the mail guard's progress says.
    void Apply(const TProgressState &state);
    // How long the window has waited for the server since its last news; blank below a
    // few seconds, since a quick server needs no clock.
    void ShowWaited(qint64 seconds);
    static constexpr int kQuietSeconds = 3;

    QLabel *lblServer = nullptr;
    QLabel *lblMailbox = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblMsg = nullptr;
    QLabel *lblWaited = nullptr;
    QProgressBar *progbar = nullptr;
    TMailAnimation *anMail = nullptr;
    QPushButton *btCancel = nullptr;

signals:
    void cancelClicked();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    QElapsedTimer m_sinceNews;
    QTimer m_clock;
};
