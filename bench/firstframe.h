#ifndef FIRSTFRAME_H
#define FIRSTFRAME_H

// The end of every start-up benchmark program: it runs the event loop until each window that is
// on screen when the loop starts has painted its first frame, prints the moment that happened
// and quits.
//
// A window's first QEvent::Paint arrives at the start of its frame; the rest of the frame (the
// children) and the hand-over to the window system (the backing store's flush) follow within
// the same delivery. So the moment is taken in a call queued from the last of those first paint
// events, once all of them are done. There one pixel is read back from the screen: under xcb
// the flush only sends the picture to the X server, and the read-back, answered in order, waits
// until the server has drawn it; offscreen the flush just notes the picture and the read-back
// is a small copy from memory.
//
// A minimised window counts like any other: neither the offscreen platform nor an X server
// without a window manager iconifies it, so it is exposed and painted at start like the others.
// Where it would never be painted, the run ends with a failure after a timeout.

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_DUMP_STATS_AT(reason)
#endif

class FirstFrameWatch : public QObject
{
public:
    FirstFrameWatch()
    {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->isVisible())
                pending.insert(window);
        }
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && pending.remove(watched) && pending.isEmpty())
            QMetaObject::invokeMethod(this, &FirstFrameWatch::framesDone, Qt::QueuedConnection);
        return false;
    }

private:
    void framesDone() const
    {
        QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 1, 1);
        // CLOCK_MONOTONIC, the clock that tools/bench reads just before it starts the process.
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("first frame at %lld ns\n",
                    static_cast<long long>(std::chrono::nanoseconds(now).count()));
        std::fflush(stdout);
        // Under callgrind the counts up to here go into a profile part of their own.
        CALLGRIND_DUMP_STATS_AT("first frame");
        QCoreApplication::quit();
    }

    QSet<QObject *> pending;
};

// Runs the event loop until the first frame of every visible window is on screen; 0 then, or 2
// when that has not happened within a minute (slow enough for callgrind).
inline int execUntilFirstFrame()
{
    FirstFrameWatch watch;
    QTimer::singleShot(std::chrono::minutes(1), QCoreApplication::instance(), [] {
        std::fputs("no first frame within a minute\n", stderr);
        QCoreApplication::exit(2);
    });
    return QApplication::exec();
}

#endif // FIRSTFRAME_H
