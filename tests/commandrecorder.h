#ifndef COMMANDRECORDER_H
#define COMMANDRECORDER_H

#include "platform/platform.h"

#include <QByteArrayList>

// Captures every command line handed to the command processor while it lives, instead of
// running it.
class CommandRecorder
{
public:
    CommandRecorder()
        : previous(Platform::setCommandRunner([this](const QByteArray &command) {
              commands.append(command);
              return 0;
          }))
    { }
    ~CommandRecorder() { Platform::setCommandRunner(previous); }
    CommandRecorder(const CommandRecorder &) = delete;
    CommandRecorder &operator=(const CommandRecorder &) = delete;

    QByteArrayList commands;

private:
    Platform::CommandRunner previous;
};

#endif // COMMANDRECORDER_H
