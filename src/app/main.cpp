#include "app/ErrorReport.h"
#include "app/Program.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Ionpath"));
    return RunIonpath(app);
}
