#include "app/DemoWindow.h"
#include "app/ErrorReport.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Ionpath"));
    TDemoWindow demo;
    demo.show();
    return app.exec();
}
