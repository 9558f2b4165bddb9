#include "app/ErrorReport.h"

#include "support/Errors.h"

#include <QMessageBox>
#include <exception>

namespace {

void DefaultPresenter(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), message,
                    QMessageBox::Ok);
    box.exec();
}

} // namespace

std::function<void(const QString&)>& TApplication::ErrorPresenter()
{
    static std::function<void(const QString&)> presenter = DefaultPresenter;
    return presenter;
}

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunReportingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void TApplication::ShowException(const QString& message)
{
    if (ErrorPresenter())
        ErrorPresenter()(message);
}

bool RunReportingErrors(const std::function<void()>& f)
{
    try {
        f();
        return true;
    } catch (const Exception& e) {
        TApplication::ShowException(e.Message());
    } catch (const std::exception& e) {
        TApplication::ShowException(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        TApplication::ShowException(QStringLiteral("Unknown error"));
    }
    return false;
}
