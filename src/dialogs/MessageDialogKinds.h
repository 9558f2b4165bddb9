#pragma once
// What a message dialog can be made of: its kinds, its eleven button kinds,
// their modal results, and the built-in English, German, French and Spanish
// texts.
//
// The dialogs carry their own language tables instead of going through the
// translation engine, so that an error can still be reported when translation
// itself is what failed.

#include <QString>
#include <cstdint>
#include <initializer_list>

// A fixed underlying type lets a number that names no kind be caught
// instead of being undefined.
enum TMsgDlgType : int { dkWarning, dkError, dkInformation, dkConfirmation, dkCustom };
inline constexpr int MessageDialogKindCount = 5;

// Declared in the order the buttons appear from left to right.
enum TMsgDlgBtn : int {
    dbYes, dbNo, dbOK, dbCancel, dbAbort, dbRetry, dbIgnore, dbAll, dbNoToAll, dbYesToAll, dbHelp
};
inline constexpr int MessageButtonKindCount = 11;

// The modal results a dialog returns: the button that closed it.
enum TModalResult {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
    mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10
};

// A set of button kinds; bit n stands for button kind n.
class TMsgDlgButtons {
public:
    constexpr TMsgDlgButtons() = default;
    constexpr explicit TMsgDlgButtons(unsigned bits) : bits_(bits) {}
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> kinds)
    {
        for (TMsgDlgBtn kind : kinds)
            bits_ |= 1u << kind;
    }

    constexpr unsigned Bits() const { return bits_; }
    constexpr bool Contains(TMsgDlgBtn kind) const { return (bits_ >> kind) & 1u; }
    // False when bits beyond the eleven button kinds are set.
    constexpr bool IsValid() const { return (bits_ >> MessageButtonKindCount) == 0; }
    constexpr int Count() const
    {
        int n = 0;
        for (int kind = 0; kind < MessageButtonKindCount; ++kind)
            n += (bits_ >> kind) & 1u;
        return n;
    }

private:
    unsigned bits_ = 0;
};

// The languages the dialogs have texts for, as MessageDialogLanguage holds them.
inline constexpr std::uint8_t MessageDialogEnglish = 0;
inline constexpr std::uint8_t MessageDialogGerman = 1;
inline constexpr std::uint8_t MessageDialogFrench = 2;
inline constexpr std::uint8_t MessageDialogSpanish = 3;

// The language of the dialogs' titles and captions (one of the four above).
// Other values show English, so that a message is never lost to its language.
inline std::uint8_t MessageDialogLanguage = MessageDialogEnglish;

// The dialog language of a translation table, from the text its
// "$dlglanguage$" entry holds: "lggerman", "lgfrench", "lgspanish" (A to Z in
// any case); anything else, an untranslated key included, is English.
std::uint8_t MessageDialogLanguageOf(const QString& tableLanguage);

// Title of a dialog kind; empty for dkCustom, whose title is the application's.
QString MessageKindTitle(TMsgDlgType kind, std::uint8_t language);
// Caption of a button, with "&" before its accelerator letter.
QString MessageButtonCaption(TMsgDlgBtn kind, std::uint8_t language);
// The button's component name ("Yes", "NoToAll" ...).
QString MessageButtonName(TMsgDlgBtn kind);
int MessageButtonResult(TMsgDlgBtn kind);
