#include "app/ErrorReport.h"
#include "app/MainWindow.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Ionpath"));
    TfrmExample frmExample;
    frmExample.show();
    return app.exec();
}
