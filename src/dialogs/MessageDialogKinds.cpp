#include "dialogs/MessageDialogKinds.h"

#include "support/TextRoutines.h"

#include <array>

namespace {

// English, German, French, Spanish: in the order of the language numbers.
constexpr int kLanguageCount = 4;
using Texts = std::array<const char16_t*, kLanguageCount>;

// dkCustom has no title of its own.
constexpr std::array<Texts, MessageDialogKindCount> kKindTitles{{
    {u"Warning", u"Warnung", u"Avertissement", u"Advertencia"},
    {u"Error", u"Fehler", u"Erreur", u"Error"},
    {u"Information", u"Information", u"Information", u"Informaci\u00f3n"},
    {u"Confirm", u"Best\u00e4tigung", u"Confirmation", u"Confirmaci\u00f3n"},
    {u"", u"", u"", u""},
}};

struct ButtonTexts {
    const char16_t* Name;
    int Result;
    Texts Captions;
};

// The accelerators of the buttons that appear together (Yes, No, Yes to
// All, No to All, Cancel; Abort, Retry, Ignore) differ in each language.
constexpr std::array<ButtonTexts, MessageButtonKindCount> kButtons{{
    {u"Yes", mrYes, {u"&Yes", u"&Ja", u"&Oui", u"&S\u00ed"}},
    {u"No", mrNo, {u"&No", u"&Nein", u"&Non", u"&No"}},
    {u"OK", mrOk, {u"OK", u"OK", u"OK", u"Aceptar"}},
    {u"Cancel", mrCancel, {u"Cancel", u"Abbruch", u"Annuler", u"Cancelar"}},
    {u"Abort", mrAbort, {u"&Abort", u"&Abbruch", u"&Abandonner", u"&Anular"}},
    {u"Retry", mrRetry, {u"&Retry", u"&Wiederholen", u"&R\u00e9essayer", u"&Reintentar"}},
    {u"Ignore", mrIgnore, {u"&Ignore", u"&Ignorieren", u"&Ignorer", u"&Ignorar"}},
    {u"All", mrAll, {u"&All", u"&Alle", u"&Tous", u"&Todos"}},
    {u"NoToAll", mrNoToAll, {u"N&o to All", u"N&ein zu Allen", u"Non \u00e0 tou&s", u"N&o a todos"}},
    {u"YesToAll", mrYesToAll, {u"Yes to &All", u"Ja zu &Allen", u"Oui \u00e0 &tous", u"S\u00ed a &todos"}},
    {u"Help", mrNone, {u"&Help", u"&Hilfe", u"&Aide", u"A&yuda"}},
}};

// A language without texts shows English.
QString InLanguage(const Texts& texts, std::uint8_t language)
{
    return QString::fromUtf16(texts[language < kLanguageCount ? language : MessageDialogEnglish]);
}

} // namespace

std::uint8_t MessageDialogLanguageOf(const QString& tableLanguage)
{
    const QString language = LowerCaseAZ(tableLanguage);
    if (language == QLatin1String("lggerman"))
        return MessageDialogGerman;
    if (language == QLatin1String("lgfrench"))
        return MessageDialogFrench;
    if (language == QLatin1String("lgspanish"))
        return MessageDialogSpanish;
    return MessageDialogEnglish;
}

QString MessageKindTitle(TMsgDlgType kind, std::uint8_t language)
{
    return InLanguage(kKindTitles.at(kind), language);
}

QString MessageButtonCaption(TMsgDlgBtn kind, std::uint8_t language)
{
    return InLanguage(kButtons.at(kind).Captions, language);
}

QString MessageButtonName(TMsgDlgBtn kind) { return QString::fromUtf16(kButtons.at(kind).Name); }

int MessageButtonResult(TMsgDlgBtn kind) { return kButtons.at(kind).Result; }
