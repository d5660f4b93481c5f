#pragma once

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>

// For bench/run's start-up figure. With TARNWICK_EXIT_ON_FIRST_PAINT set, the program prints
// "first-paint NS" once the window has been painted for the first time, NS being the
// CLOCK_MONOTONIC time in nanoseconds (the clock the bench read when it started the program),
// and ends at once: the paint may come before the event loop runs, and nothing of such a run
// is to be kept.
class TFirstPaintProbe final : public QObject
{
public:
    static void Watch(QWidget &window)
    {
        if (qEnvironmentVariableIsSet("TARNWICK_EXIT_ON_FIRST_PAINT"))
            window.installEventFilter(new TFirstPaintProbe(&window));
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            // Queued: it runs once this paint, the children's and the flush to the screen are done.
            QTimer::singleShot(0, this, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("first-paint %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    using QObject::QObject;
    bool m_painted = false;
};
