#pragma once
// The geometry and texts of a message dialog, computed without a window.
//
// All sizes follow the dialog units of the window system: a horizontal unit is
// a quarter, a vertical unit an eighth of the font's average character, so the
// dialog grows and shrinks with its font.

#include "dialogs/ButtonWidthCache.h"
#include "dialogs/DialogTextMetrics.h"
#include "dialogs/MessageDialogKinds.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

// What the layout needs to know about the desktop and the program.
struct TMessageDialogEnvironment {
    QSize screenSize;
    QString applicationTitle;
    std::uint8_t language = 0;
    bool rightToLeft = false;
    // The window frame around the client area, counted when centring.
    QMargins frame;
};

struct TMessageDialogButtonLayout {
    TMsgDlgBtn kind = dbOK;
    QString name;
    QString caption;
    int modalResult = mrNone;
    QRect bounds;
    bool isDefault = false;
    bool isCancel = false; // answers the Escape key
};

struct TMessageDialogLayout {
    TMsgDlgType kind = dkWarning;
    QString text;      // shown exactly as given
    QSize averageChar; // cx, cy
    int horzMargin = 0;
    int vertMargin = 0;
    int horzSpacing = 0;
    int vertSpacing = 0;
    int buttonWidth = 0;
    int buttonHeight = 0;
    int buttonSpacing = 0;
    QSize textSize;  // the message as measured, wrapped at half the screen width
    QSize blockSize; // icon and text together
    int buttonGroupWidth = 0;
    QSize clientSize;
    QPoint position; // outer top-left corner, centred on the screen
    QString title;
    bool hasIcon = false;
    QRect imageBounds;
    QRect messageBounds;
    std::vector<TMessageDialogButtonLayout> buttons; // left to right
};

// Computes the dialog for text, kind and buttons. Button widths are taken from
// widths and measured into it where it has none. Throws Exception for a kind or
// a button set that does not exist.
TMessageDialogLayout LayoutMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                         const TMessageDialogEnvironment& environment,
                                         const TDialogTextMetrics& metrics, TButtonWidthCache& widths);

// number * numerator / denominator, rounded to the nearest integer with halves
// away from zero, computed without overflow; -1 when the denominator is 0 or
// the result does not fit, as the window system's own MulDiv.
int MulDiv(int number, int numerator, int denominator);
