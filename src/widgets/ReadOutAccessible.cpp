#include "widgets/ReadOutAccessible.h"

#include "widgets/NumLab.h"
#include "widgets/RasterLab.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <functional>

namespace {

class TReadOutAccessible : public QAccessibleWidget {
public:
    TReadOutAccessible(QWidget* w, std::function<QString()> shown)
        : QAccessibleWidget(w, QAccessible::StaticText), shown_(std::move(shown))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? shown_() : name;
        }
        case QAccessible::Value:
            return shown_();
        default:
            return QAccessibleWidget::text(t);
        }
    }

private:
    std::function<QString()> shown_;
};

// The numeric label also offers its number, which is what a screen reader
// reads and announces for a control with a value.
class TNumLabAccessible : public TReadOutAccessible, public QAccessibleValueInterface {
public:
    explicit TNumLabAccessible(TNumLab* n)
        : TReadOutAccessible(n, [n] { return n->ShownText(); }), numLab_(n)
    {
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return TReadOutAccessible::interface_cast(t);
    }

    QVariant currentValue() const override { return numLab_->Empty() ? QVariant() : QVariant(numLab_->Value()); }
    void setCurrentValue(const QVariant&) override {} // a read-out is not set by the user
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }

private:
    TNumLab* numLab_;
};

QAccessibleInterface* ReadOutFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TNumLab"))
        if (auto* n = qobject_cast<TNumLab*>(object))
            return new TNumLabAccessible(n);
    if (className == QLatin1String("TRasterLab"))
        if (auto* r = qobject_cast<TRasterLab*>(object))
            return new TReadOutAccessible(r, [r] { return r->Text(); });
    return nullptr;
}

void ToAssistiveTools(QAccessibleEvent& event)
{
    if (QAccessible::isActive())
        QAccessible::updateAccessibility(&event);
}

} // namespace

TReadOutEventSink& ReadOutEventSink()
{
    static TReadOutEventSink sink = ToAssistiveTools;
    return sink;
}

void InstallReadOutAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(ReadOutFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void NotifyReadOutTextChanged(QWidget* readOut, const QString& text)
{
    const TReadOutEventSink& sink = ReadOutEventSink();
    if (!sink)
        return;
    QAccessibleValueChangeEvent value(readOut, text);
    sink(value);
    if (readOut->accessibleName().isEmpty()) {
        QAccessibleEvent name(readOut, QAccessible::NameChanged);
        sink(name);
    }
}
