#include "support/Errors.h"

#include <utility>

Exception::Exception(QString message)
    : message_(std::move(message)), utf8_(message_.toStdString())
{
}

EVexError::EVexError(const QString& componentName, const QString& reason)
    : Exception(ComponentMessage(componentName, reason))
{
}

EVexError::EVexError(const QString& message)
    : Exception(message)
{
}

QString EVexError::ComponentMessage(const QString& componentName, const QString& reason)
{
    return QStringLiteral("Component \"") + componentName + QStringLiteral("\": ") + reason;
}
