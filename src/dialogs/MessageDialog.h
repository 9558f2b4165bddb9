#pragma once
// Modal message dialogs built at run time around their text.
//
//   int answer = ShowMessageDialog(text, dkError, TMsgDlgButtons{dbOK}, 0);
//
// Titles and button captions follow MessageDialogLanguage; the text is shown
// exactly as passed in (translate it first if it should be translated).

#include "dialogs/MessageDialogKinds.h"
#include "dialogs/MessageForm.h"

#include <QString>
#include <memory>

// Shows the dialog centred on the screen and returns the modal result of the
// button that closed it.
int ShowMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, int helpContext);

// As ShowMessageDialog; an x >= 0 becomes the window's left edge, a y >= 0 its
// top edge, a negative one keeps the centred value.
int ShowMessageDialogAt(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, int helpContext, int x,
                        int y, const QString& helpFile);

// The dialog, laid out and placed but not shown. Throws Exception for a kind or
// button set that does not exist.
std::unique_ptr<TMessageForm> BuildMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons);
