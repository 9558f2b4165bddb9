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
    QSize ScreenSize;
    QString ApplicationTitle;
    std::uint8_t Language = 0;
    bool RightToLeft = false;
    // The window frame around the client area, counted when centring.
    QMargins Frame;
};

struct TMessageDialogButtonLayout {
    TMsgDlgBtn Kind = dbOK;
    QString Name;
    QString Caption;
    int ModalResult = mrNone;
    QRect Bounds;
    bool IsDefault = false;
    bool IsCancel = false; // answers the Escape key
};

struct TMessageDialogLayout {
    TMsgDlgType Kind = dkWarning;
    QString Text;      // shown exactly as given
    QSize AverageChar; // cx, cy
    int HorzMargin = 0;
    int VertMargin = 0;
    int HorzSpacing = 0;
    int VertSpacing = 0;
    int ButtonWidth = 0;
    int ButtonHeight = 0;
    int ButtonSpacing = 0;
    QSize TextSize;  // the message as measured, wrapped at half the screen width
    QSize BlockSize; // icon and text together
    int ButtonGroupWidth = 0;
    QSize ClientSize;
    QPoint Position; // outer top-left corner, centred on the screen
    QString Title;
    bool HasIcon = false;
    QRect ImageBounds;
    QRect MessageBounds;
    std::vector<TMessageDialogButtonLayout> Buttons; // left to right
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
