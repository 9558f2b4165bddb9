#include "app/ErrorReport.h"
#include "support/Errors.h"
#include "support/ScopedHook.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// An object whose event handler fails the way a component's setter can.
class Thrower : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw EVexMatrixError(QStringLiteral("Matrix1"), QStringLiteral("not enough memory on heap"));
        if (e->type() == QEvent::User + 1)
            throw std::runtime_error("plain failure");
        if (e->type() == QEvent::User + 2) {
            ++handled;
            return true;
        }
        return QObject::event(e);
    }
};

} // namespace

TEST(ErrorReport, ExceptionLeavingAnEventHandlerIsShownAndDispatchGoesOn)
{
    QStringList shown;
    Thrower t;
    {
        TScopedHook presenter(TApplication::ErrorPresenter(), [&](const QString& m) { shown << m; });
        QCoreApplication::postEvent(&t, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&t, new QEvent(QEvent::Type(QEvent::User + 1)));
        QCoreApplication::postEvent(&t, new QEvent(QEvent::Type(QEvent::User + 2)));
        QCoreApplication::processEvents();
    }

    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], QStringLiteral("Component \"Matrix1\": not enough memory on heap"));
    EXPECT_EQ(shown[1], QStringLiteral("plain failure"));
    EXPECT_EQ(t.handled, 1); // the event after the failures still arrived
}
