#ifndef MODALDRIVER_H
#define MODALDRIVER_H

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `action` on the next visible window of type T, from inside the event loop that the
// window's exec() runs, so that a test can answer a dialog that blocks.
template<typename T> void whenVisible(std::function<void(T *)> action)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *found = qobject_cast<T *>(window);
            if (found && found->isVisible()) {
                poll->stop();
                action(found); // may itself open and answer further windows
                poll->deleteLater();
                return;
            }
        }
    });
    poll->start();
}

#endif // MODALDRIVER_H
