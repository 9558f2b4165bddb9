#pragma once
// A push button that closes its dialog with a modal result.

#include <QPushButton>

class TModalButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)

public:
    explicit TModalButton(QWidget* parent = nullptr);

    // The result the dialog ends with when the button is clicked; 0 leaves
    // the dialog open (the button then only runs its own handler).
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

private:
    int modalResult_ = 0;
};
