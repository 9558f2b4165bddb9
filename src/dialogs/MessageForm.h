#pragma once
// The message dialog window.
//
// The form is laid out from a TMessageDialogLayout. It answers Escape with its
// cancel button, Return with its default button, a button's accelerator letter
// with that button (with or without Alt, as the message boxes users know), and
// runs the Help button through a replaceable help handler.

#include "dialogs/MessageDialogLayout.h"
#include "dialogs/ModalButton.h"

#include <QDialog>
#include <QString>
#include <functional>

class TMessageForm : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
    Q_PROPERTY(QString HelpFile READ HelpFile WRITE SetHelpFile)

public:
    // An empty dialog in the desktop's message-box font.
    explicit TMessageForm(QWidget* parent = nullptr);

    // Gives the form the title, size, icon, message and buttons of layout.
    void Arrange(const TMessageDialogLayout& layout);

    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }
    QString HelpFile() const { return helpFile_; }
    void SetHelpFile(const QString& file) { helpFile_ = file; }

    TModalButton* DefaultButton() const { return defaultButton_; }
    // The button that answers Escape and the window's close box; none when
    // the buttons offer no way to decline.
    TModalButton* CancelButton() const { return cancelButton_; }

    // The Help button's handler: shows the help context through the help handler.
    void HelpButtonClick();

    // Closing the window counts as the cancel button, or as Cancel without one.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool PressAccelerator(const QString& key);

    int helpContext_ = 0;
    QString helpFile_;
    TModalButton* defaultButton_ = nullptr;
    TModalButton* cancelButton_ = nullptr;
};

// Shows a help context of a help file (a replaceable hook). The default opens
// the help file with the desktop's program for it; hosts put their own in,
// tests theirs with TScopedHook (support/ScopedHook.h).
using TMessageHelpHandler = std::function<void(int helpContext, const QString& helpFile)>;
TMessageHelpHandler& MessageHelpHandler();
