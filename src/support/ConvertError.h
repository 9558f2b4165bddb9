#pragma once
// The error of a failed conversion between text and numbers: a text that is
// not a number, or a format pattern that does not fit its arguments. It
// reaches the user through the application's error report, so its message
// quotes the text that failed.

#include "support/Errors.h"

class EConvertError : public Exception {
public:
    using Exception::Exception;
};
