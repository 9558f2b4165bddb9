#include "dialogs/MessageDialog.h"

#include "dialogs/ButtonWidthCache.h"
#include "dialogs/DialogTextMetrics.h"
#include "dialogs/MessageDialogLayout.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>

namespace {

// A window's frame is known only once the window manager has framed it; the
// frame of the active window is the best guess for the dialog's.
QMargins EstimatedFrame()
{
    if (QWidget* active = QApplication::activeWindow())
        if (QWindow* window = active->windowHandle())
            return window->frameMargins();
    return {};
}

} // namespace

std::unique_ptr<TMessageForm> BuildMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons)
{
    auto form = std::make_unique<TMessageForm>();

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect();

    TMessageDialogEnvironment environment;
    environment.ScreenSize = screenRect.size();
    environment.ApplicationTitle = QGuiApplication::applicationDisplayName();
    environment.Language = MessageDialogLanguage;
    environment.RightToLeft = form->layoutDirection() == Qt::RightToLeft;
    environment.Frame = EstimatedFrame();

    const TMessageDialogLayout layout = LayoutMessageDialog(text, kind, buttons, environment,
                                                            TFontTextMetrics(form->font()),
                                                            MessageDialogButtonWidths());
    form->Arrange(layout);
    form->move(screenRect.topLeft() + layout.Position);
    return form;
}

int ShowMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, int helpContext)
{
    return ShowMessageDialogAt(text, kind, buttons, helpContext, -1, -1, QString());
}

int ShowMessageDialogAt(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, int helpContext, int x,
                        int y, const QString& helpFile)
{
    const std::unique_ptr<TMessageForm> form = BuildMessageDialog(text, kind, buttons);
    form->SetHelpContext(helpContext);
    form->SetHelpFile(helpFile);
    QPoint position = form->pos();
    if (x >= 0)
        position.setX(x);
    if (y >= 0)
        position.setY(y);
    form->move(position);
    return form->exec();
}
