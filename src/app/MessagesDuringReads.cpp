#include "app/MessagesDuringReads.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>

std::function<void()> ProcessMessagesEvery(int milliseconds)
{
    struct TState {
        QElapsedTimer Since;
        unsigned Lines = 0;
    };
    return [state = std::make_shared<TState>(), milliseconds] {
        if (state->Lines++ % 64 != 0)
            return;
        if (!state->Since.isValid() || state->Since.elapsed() >= milliseconds) {
            QCoreApplication::processEvents();
            state->Since.start();
        }
    };
}
