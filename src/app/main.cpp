#include "app/CanvasDemo.h"
#include "app/ErrorReport.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Ionpath"));
    TCanvasDemo demo;
    demo.show();
    return app.exec();
}
