#pragma once
// The application object and its default error report.
//
// An exception that leaves an event handler would otherwise end the program
// inside Qt's event loop. The application catches it in notify(), shows its
// message in a modal error box and goes on with the next event.

#include <QApplication>
#include <QString>
#include <functional>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the message as the default error report does, through the
    // error presenter.
    static void ShowException(const QString& message);

    // Shows the error report's messages; the default is a modal error box,
    // tests replace it (TScopedHook) so that no box blocks them.
    static std::function<void(const QString& message)>& ErrorPresenter();
};

// Runs f; an exception it throws is reported by the default error report
// instead of propagating. Returns true when f ended normally.
bool RunReportingErrors(const std::function<void()>& f);
