// The walk over a window: every text property and string list of an object
// whose value begins with the prefix is replaced by its translation, and the
// walk goes on through the objects the window owns.
#include "i18n/Lexifer2000.h"

#include <QComboBox>
#include <QListWidget>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// The component name is never translated; "Name" is also what settings
// objects call a file name (the chart's background picture).
bool IsNameProperty(const char* name)
{
    return qstrcmp(name, "objectName") == 0 || qstrcmp(name, "Name") == 0;
}

// String properties that are views of a list handled line by line below
// (translating the joined text as one key would lose the lines).
bool IsListView(const QObject* obj, const char* name)
{
    if (qobject_cast<const QPlainTextEdit*>(obj))
        return qstrcmp(name, "plainText") == 0;
    if (qobject_cast<const QTextEdit*>(obj))
        return qstrcmp(name, "plainText") == 0 || qstrcmp(name, "html") == 0 || qstrcmp(name, "markdown") == 0;
    if (qobject_cast<const QComboBox*>(obj))
        return qstrcmp(name, "currentText") == 0;
    return false;
}

// Q_CLASSINFO("TranslatedTexts", "true"), declared by the object's class or
// one it derives from.
bool HoldsTranslatedTexts(const QObject* obj)
{
    const QMetaObject* meta = obj->metaObject();
    const int index = meta->indexOfClassInfo("TranslatedTexts");
    return index >= 0 && qstrcmp(meta->classInfo(index).value(), "true") == 0;
}

QObject* ReferencedObject(const QMetaProperty& prop, const QVariant& value)
{
    if (!(prop.metaType().flags() & QMetaType::PointerToQObject) || !value.isValid())
        return nullptr;
    return *static_cast<QObject* const*>(value.constData());
}

// A memo's lines are the document's blocks; a translation with line feeds
// becomes several blocks in place of one.
void TranslateDocument(QTextDocument* doc, const std::function<bool(QString&)>& translate)
{
    for (int i = doc->blockCount() - 1; i >= 0; --i) {
        const QTextBlock block = doc->findBlockByNumber(i);
        QString line = block.text();
        if (!translate(line))
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(line);
    }
}

} // namespace

bool TLexifer2000::TranslatePrefixed(QString& text)
{
    if (!text.startsWith(prefix_, Qt::CaseSensitive))
        return false;
    text = Translate(text.mid(prefix_.size()));
    return true;
}

void TLexifer2000::TranslateLines(QObject* obj)
{
    const auto translate = [this](QString& line) { return TranslatePrefixed(line); };
    if (auto* memo = qobject_cast<QPlainTextEdit*>(obj)) {
        TranslateDocument(memo->document(), translate);
    } else if (auto* edit = qobject_cast<QTextEdit*>(obj)) {
        TranslateDocument(edit->document(), translate);
    } else if (auto* combo = qobject_cast<QComboBox*>(obj)) {
        for (int i = combo->count() - 1; i >= 0; --i) {
            QString item = combo->itemText(i);
            if (translate(item))
                combo->setItemText(i, item);
        }
    } else if (auto* list = qobject_cast<QListWidget*>(obj)) {
        for (int i = list->count() - 1; i >= 0; --i) {
            QString item = list->item(i)->text();
            if (translate(item))
                list->item(i)->setText(item);
        }
    } else if (auto* tabs = qobject_cast<QTabBar*>(obj)) {
        for (int i = tabs->count() - 1; i >= 0; --i) {
            QString tab = tabs->tabText(i);
            if (translate(tab))
                tabs->setTabText(i, tab);
            QString tip = tabs->tabToolTip(i);
            if (translate(tip))
                tabs->setTabToolTip(i, tip);
        }
    }
}

void TLexifer2000::TranslateObject(QObject* obj)
{
    if (!obj)
        return;
    bool doTranslate = true;
    if (OnTranslateObject)
        OnTranslateObject(*this, obj, doTranslate);
    if (!doTranslate)
        return;

    // Qt lists inherited properties first, in declaration order.
    const QMetaObject* meta = obj->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty prop = meta->property(i);
        if (!prop.isReadable() || IsNameProperty(prop.name()))
            continue;
        const int type = prop.metaType().id();
        if (type == QMetaType::QString) {
            if (!prop.isWritable() || IsListView(obj, prop.name()))
                continue;
            QString value = prop.read(obj).toString();
            if (TranslatePrefixed(value))
                prop.write(obj, value);
        } else if (type == QMetaType::QStringList) {
            if (!prop.isWritable())
                continue;
            QStringList lines = prop.read(obj).toStringList();
            bool changed = false;
            for (qsizetype k = lines.size() - 1; k >= 0; --k)
                changed |= TranslatePrefixed(lines[k]);
            if (changed)
                prop.write(obj, lines);
        } else if (QObject* o = ReferencedObject(prop, prop.read(obj))) {
            // Settings objects holding texts say so in their class info and
            // are entered; fonts, pictures and references to other
            // components are not.
            if (HoldsTranslatedTexts(o))
                TranslateObject(o);
        }
    }
    TranslateLines(obj);
}

void TLexifer2000::TranslateForm(QObject* component)
{
    if (!component)
        return;
    TranslateObject(component);
    // Guarded copies: a translated text may make a widget create or drop
    // children while the walk goes on.
    QList<QPointer<QObject>> owned;
    for (QObject* child : component->children())
        owned.append(child);
    for (const QPointer<QObject>& child : owned)
        if (child)
            TranslateForm(child);
}
