#include "app/MessagesDuringReads.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>

std::function<void()> ProcessMessagesEvery(int milliseconds)
{
    struct TState {
        QElapsedTimer since;
        unsigned lines = 0;
    };
    return [state = std::make_shared<TState>(), milliseconds] {
        if (state->lines++ % 64 != 0)
            return;
        if (!state->since.isValid() || state->since.elapsed() >= milliseconds) {
            QCoreApplication::processEvents();
            state->since.start();
        }
    };
}
