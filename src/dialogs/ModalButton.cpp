#include "dialogs/ModalButton.h"

#include <QDialog>

TModalButton::TModalButton(QWidget* parent)
    : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, [this] {
        if (modalResult_ == 0)
            return;
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->done(modalResult_);
    });
}
