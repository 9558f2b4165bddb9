#include "app/Program.h"

#include "app/AboutBox.h"
#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "app/StartOptions.h"
#include "app/lab/LaboratoryWindow.h"
#include "i18n/Lexifer2000.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

bool FirstPictureExitWanted()
{
    const QByteArray v = qgetenv("IONPATH_FIRST_PICTURE_EXIT");
    return !v.isEmpty() && v != "0";
}

// Closes a dialog as soon as it is shown, from the event loop (the dialog's
// own modal loop is running by then).
class TCloseOnShow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* dialog = qobject_cast<QDialog*>(watched))
                QTimer::singleShot(0, dialog, [dialog] { dialog->accept(); });
        return QObject::eventFilter(watched, event);
    }
};

// The Laboratory beside the window, made when first opened, in the
// window's language.
void AttachLaboratory(TfrmExample& window)
{
    auto lab = std::make_shared<QPointer<TLaboratoryWindow>>();
    window.SetLaboratoryHandler([&window, lab] {
        if (!*lab) {
            const TTranslate translate = [&window](const QString& key, const QStringList& args) {
                return window.Lexifer().Translate(key, args);
            };
            *lab = new TLaboratoryWindow(window.Instrument(), translate, &window);
        }
        (*lab)->show();
        (*lab)->raise();
        (*lab)->activateWindow();
    });
}

} // namespace

int RunIonpath(TApplication& app)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    const TStartOptions options = StartOptionsFrom(QCoreApplication::arguments());
    TfrmExample frmExample;
    if (options.UserLibrary)
        frmExample.SetUserLibrary(std::make_unique<TUserSpectrumLibrary>());
    if (options.ExerciseSeed)
        frmExample.SetExerciseSeed(*options.ExerciseSeed);
    if (!options.Classic)
        AttachLaboratory(frmExample);
    TFrmAbout FrmAbout;
    frmExample.SetAboutBox(&FrmAbout);

    TCloseOnShow closeOnShow;
    if (FirstPictureExitWanted()) {
        FrmAbout.installEventFilter(&closeOnShow);
        frmExample.OnStarted = [&sinceStart] {
            std::printf("first picture after %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        };
    }
    frmExample.show();
    return app.exec();
}
