#include "dialogs/MessageDialogKinds.h"

#include <array>

namespace {

struct KindTexts {
    const char16_t* English;
    const char16_t* German;
};

// dkCustom has no title of its own.
constexpr std::array<KindTexts, MessageDialogKindCount> kKindTitles{{
    {u"Warning", u"Warnung"},
    {u"Error", u"Fehler"},
    {u"Information", u"Information"},
    {u"Confirm", u"Best\u00e4tigung"},
    {u"", u""},
}};

struct ButtonTexts {
    const char16_t* Name;
    int Result;
    const char16_t* English;
    const char16_t* German;
};

constexpr std::array<ButtonTexts, MessageButtonKindCount> kButtons{{
    {u"Yes", mrYes, u"&Yes", u"&Ja"},
    {u"No", mrNo, u"&No", u"&Nein"},
    {u"OK", mrOk, u"OK", u"OK"},
    {u"Cancel", mrCancel, u"Cancel", u"Abbruch"},
    {u"Abort", mrAbort, u"&Abort", u"&Abbruch"},
    {u"Retry", mrRetry, u"&Retry", u"&Wiederholen"},
    {u"Ignore", mrIgnore, u"&Ignore", u"&Ignorieren"},
    {u"All", mrAll, u"&All", u"&Alle"},
    {u"NoToAll", mrNoToAll, u"N&o to All", u"N&ein zu Allen"},
    {u"YesToAll", mrYesToAll, u"Yes to &All", u"Ja zu &Allen"},
    {u"Help", mrNone, u"&Help", u"&Hilfe"},
}};

bool IsGerman(std::uint8_t language) { return language == 1; }

} // namespace

QString MessageKindTitle(TMsgDlgType kind, std::uint8_t language)
{
    const KindTexts& t = kKindTitles.at(kind);
    return QString::fromUtf16(IsGerman(language) ? t.German : t.English);
}

QString MessageButtonCaption(TMsgDlgBtn kind, std::uint8_t language)
{
    const ButtonTexts& t = kButtons.at(kind);
    return QString::fromUtf16(IsGerman(language) ? t.German : t.English);
}

QString MessageButtonName(TMsgDlgBtn kind) { return QString::fromUtf16(kButtons.at(kind).Name); }

int MessageButtonResult(TMsgDlgBtn kind) { return kButtons.at(kind).Result; }
