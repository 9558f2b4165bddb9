#include "chart/BackgroundImage.h"

#include <QFileInfo>

void TBakGndImg::SetName(const QString& v)
{
    name_ = includePath_ ? v : QFileInfo(v).fileName();
    Changed();
}

void TBakGndImg::SetIncludePath(bool v)
{
    includePath_ = v;
    if (!v)
        name_ = QFileInfo(name_).fileName();
    Changed();
}
