#pragma once
// The exceptions of the program and its component library.
//
// Every error the program raises derives from Exception, which carries the
// text the user will read. The component library's errors derive from EVexError
// and name the component: Component "Name": reason.

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

class EVexError : public Exception {
public:
    // Builds the message Component "componentName": reason
    EVexError(const QString& componentName, const QString& reason);
    // A message that does not name the component.
    explicit EVexError(const QString& message);
    static QString ComponentMessage(const QString& componentName, const QString& reason);
};

class EVexMatrixError : public EVexError {
public:
    using EVexError::EVexError;
};

class EVexRChartError : public EVexError {
public:
    using EVexError::EVexError;
};

class EVexRasterLabError : public EVexError {
public:
    using EVexError::EVexError;
};
