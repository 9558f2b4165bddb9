#pragma once
// The translation engine: a table from text keys to translations, loaded from
// an ".itl" file, plus the walk that replaces every "LX_" text of a window
// and the objects it owns by its translation.
//
// A missing key is never an error; the key itself is shown. With
// AutoCreateItlFile set, missing keys are collected and, when the engine is
// destroyed, written together with the loaded table into a fresh ".itl" file
// in the working directory, so a translator gets a complete list.
//
// The walk enters a settings object reached through a property (a chart's
// axis settings) only when its class declares
//     Q_CLASSINFO("TranslatedTexts", "true")

#include "support/TextEncoding.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;
class QObject;

class TLexifer2000 {
public:
    // Called after every successful lookup; may change the text.
    using TTranslateEvent = std::function<void(TLexifer2000& sender, const QString& key, QString& text)>;
    // Called before the properties of an object are translated; clearing
    // doTranslate leaves that object alone (its children are still visited).
    using TTranslateObjectEvent = std::function<void(TLexifer2000& sender, QObject* obj, bool& doTranslate)>;

    explicit TLexifer2000(QString appName = {});
    // Writes the collected file when AutoCreateItlFile is set. Never throws: a
    // failed write is reported (error box or standard error).
    ~TLexifer2000();
    TLexifer2000(const TLexifer2000&) = delete;
    TLexifer2000& operator=(const TLexifer2000&) = delete;

    // Replaces the table by the entries of an ".itl" text, read from the
    // start of the device whatever its position. NewEntries are kept.
    // Throws Exception when the device cannot be read; the table is then
    // left as it was.
    void LoadFromStream(QIODevice& stream);

    // Looks the key up (ASCII letters compared case-insensitively, nothing
    // else normalised) and substitutes "<%1%>", "<%2%>", ... by args.
    void Translate(const QString& key, const QStringList& args, QString& text);
    QString Translate(const QString& key, const QStringList& args = {});

    // Form translation: one object's text properties and string lists, and
    // an object with everything it owns (QObject children, in order).
    void TranslateObject(QObject* obj);
    void TranslateForm(QObject* component);

    const QStringList& Keys() const { return keys_; }
    const QStringList& Texts() const { return texts_; }
    const QStringList& NewEntries() const { return newEntries_; }
    const QString& Prefix() const { return prefix_; }
    const QString& AppName() const { return appName_; }
    bool AutoCreateItlFile() const { return autoCreateItlFile_; }
    void SetAutoCreateItlFile(bool v) { autoCreateItlFile_ = v; }
    // The encoding of the last loaded file; the written file uses it too.
    TTextEncoding Encoding() const { return encoding_; }

    // The collected entries followed by the loaded table, each ending in
    // CR LF, in the table's encoding. Throws Exception when the file cannot
    // be written; an existing file is replaced only by a complete new one.
    void WriteItlFile(const QString& path) const;

    TTranslateEvent OnTranslate;
    TTranslateObjectEvent OnTranslateObject;

    // Where a failed write at destruction is reported.
    // Default: an error box with a window system, else standard error; tests replace it.
    static std::function<void(const QString& message)>& WriteFailureReport();

private:
    // Replaces a prefixed text by the translation of the rest; false when
    // the text does not begin with the prefix (byte-exact).
    bool TranslatePrefixed(QString& text);
    void TranslateLines(QObject* obj);

    QStringList keys_;
    QStringList texts_;
    QHash<QString, qsizetype> firstIndex_; // normalised key -> first entry
    QString prefix_ = QStringLiteral("LX_");
    QStringList newEntries_;
    QSet<QString> newEntrySet_;
    bool autoCreateItlFile_ = false;
    QString appName_;
    TTextEncoding encoding_ = TTextEncoding::Utf8;
};

// The translation file's name derived from the executable's file name: its
// last three characters replaced by "itl" ("ms.exe" gives "ms.itl"); a name
// without an extension gets ".itl" appended ("ionpath" gives "ionpath.itl").
QString ItlFileName(const QString& executableFileName);

// Lower-cases A to Z only; every other character stays as it is.
QString AsciiLower(const QString& text);
// The stored form of a key: ASCII lower case, CR, LF and TAB as spaces, runs
// of spaces as one, leading spaces removed (trailing ones kept).
QString NormaliseKey(const QString& rawKey);
// The stored form of a translation: CR and LF as spaces, "\n" as a line
// feed, "<%APPNAME%>" (any case) as appName.
QString DecodeTranslation(const QString& rawTranslation, const QString& appName);
