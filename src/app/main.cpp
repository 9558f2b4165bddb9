#include "app/ErrorReport.h"

#include <QLabel>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Ionpath"));
    QLabel w(QStringLiteral("Ionpath"));
    w.show();
    return app.exec();
}
