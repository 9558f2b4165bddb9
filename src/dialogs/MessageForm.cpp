#include "dialogs/MessageForm.h"

#include "dialogs/DialogTextMetrics.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QUrl>

namespace {

// The message drawn with exactly the flags it was measured with, so that its
// lines break where the layout expected (a plain label would not expand tabs)
// and every character shows as given: no rich text, no accelerator "&".
class TMessageLabel : public QLabel {
public:
    explicit TMessageLabel(QWidget* parent)
        : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        setWordWrap(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), Qt::AlignLeft);
        painter.drawText(contentsRect(), int(align) | MessageTextFlags, text());
    }
};

QStyle::StandardPixmap IconOf(TMsgDlgType kind)
{
    switch (kind) {
    case dkWarning: return QStyle::SP_MessageBoxWarning;
    case dkError: return QStyle::SP_MessageBoxCritical;
    case dkInformation: return QStyle::SP_MessageBoxInformation;
    case dkConfirmation: return QStyle::SP_MessageBoxQuestion;
    case dkCustom: break;
    }
    return QStyle::SP_CustomBase;
}

// The letter after the first single "&" of a caption, lower-cased; null if none.
QChar AcceleratorOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption[i + 1].toLower();
        ++i; // "&&" is a literal "&"
    }
    return {};
}

void OpenHelpFile(int /*helpContext*/, const QString& helpFile)
{
    // The desktop has no notion of help contexts inside a file; opening the
    // file is as close as it gets.
    if (!helpFile.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
}

} // namespace

TMessageHelpHandler& MessageHelpHandler()
{
    static TMessageHelpHandler handler = OpenHelpFile;
    return handler;
}

TMessageForm::TMessageForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    // The platform's message-box font; without one Qt answers with the
    // application font, which is then the font the dialog keeps.
    setFont(QApplication::font("QMessageBoxLabel"));
    setSizeGripEnabled(false);
}

void TMessageForm::Arrange(const TMessageDialogLayout& layout)
{
    setWindowTitle(layout.Title);
    setFixedSize(layout.ClientSize);

    if (layout.HasIcon) {
        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image"));
        const QIcon icon = style()->standardIcon(IconOf(layout.Kind), nullptr, this);
        image->setPixmap(icon.pixmap(layout.ImageBounds.size(), devicePixelRatio()));
        image->setGeometry(layout.ImageBounds);
    }

    auto* message = new TMessageLabel(this);
    message->setObjectName(QStringLiteral("Message"));
    message->setFont(font());
    message->setText(layout.Text);
    message->setGeometry(layout.MessageBounds);

    for (const TMessageDialogButtonLayout& b : layout.Buttons) {
        auto* button = new TModalButton(this);
        button->setObjectName(b.Name);
        button->setFont(font());
        button->setText(b.Caption);
        button->SetModalResult(b.ModalResult);
        button->setGeometry(b.Bounds);
        if (b.Kind == dbHelp)
            connect(button, &QPushButton::clicked, this, &TMessageForm::HelpButtonClick);
        if (b.IsDefault) {
            button->setDefault(true);
            button->setFocus();
            defaultButton_ = button;
        }
        if (b.IsCancel)
            cancelButton_ = button;
    }
}

void TMessageForm::HelpButtonClick()
{
    if (MessageHelpHandler())
        MessageHelpHandler()(helpContext_, helpFile_);
}

void TMessageForm::reject()
{
    done(cancelButton_ ? cancelButton_->ModalResult() : int(mrCancel));
}

void TMessageForm::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        // Without buttons there is nothing to choose, so Escape just closes;
        // with buttons but none that declines, Escape does nothing.
        if (cancelButton_)
            cancelButton_->click();
        else if (findChildren<TModalButton*>().isEmpty())
            done(mrCancel);
        return;
    }
    if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && PressAccelerator(event->text()))
        return;
    QDialog::keyPressEvent(event);
}

bool TMessageForm::PressAccelerator(const QString& key)
{
    if (key.size() != 1 || !key[0].isLetterOrNumber())
        return false;
    const QChar letter = key[0].toLower();
    QList<TModalButton*> matches;
    for (TModalButton* button : findChildren<TModalButton*>())
        if (button->isVisible() && button->isEnabled() && AcceleratorOf(button->text()) == letter)
            matches << button;
    if (matches.isEmpty())
        return false;
    if (matches.size() == 1) {
        matches.front()->click();
        return true;
    }
    // A letter shared by several buttons only moves the focus among them, so
    // that no button is pressed by a guess.
    const qsizetype current = matches.indexOf(qobject_cast<TModalButton*>(focusWidget()));
    matches[(current + 1) % matches.size()]->setFocus(Qt::ShortcutFocusReason);
    return true;
}
