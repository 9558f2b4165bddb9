#pragma once
// Which translation file a stand-alone program loads: the one beside the
// executable, named after it, or, when the user's languages ask for ll and
// "<name>.ll.itl" exists there, that one, so a German desktop gets the German
// interface without any setting.

#include <QString>
#include <QStringList>

class TLexifer2000;

// uiLanguages as QLocale::uiLanguages() gives them ("de-DE", "de", ...), most
// wanted first. Files that cannot be read are passed over. Empty when no
// file exists.
QString FindTranslationFile(const QString& executablePath, const QStringList& uiLanguages);

// Loads the file into the engine; false (and the table left as it was) when
// it cannot be opened or read.
bool LoadTranslationFile(TLexifer2000& lexifer, const QString& path);
