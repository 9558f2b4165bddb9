#pragma once
// The Laboratory's texts come from the program's translation table by key;
// keys are the English texts, "<%1%>", "<%2%>" standing for what is filled in.

#include <QString>
#include <QStringList>
#include <functional>

using TTranslate = std::function<QString(const QString& key, const QStringList& args)>;

// Numbers as the Laboratory writes them: always "." as the decimal point,
// as the instrument's read-outs do.
QString FixedText(double value, int decimals);
// An abundance in percent with about four significant digits: "100.0",
// "64.74", "6.583", "0.0123".
QString AbundanceText(double percent);
