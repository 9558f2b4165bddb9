#include "analysis/ChemicalFormula.h"

#include "analysis/ChemicalElements.h"

#include <algorithm>

namespace {

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// One level of parentheses being read (the bottom one is the formula itself).
struct TGroup {
    std::vector<TElementCount> Elements; // in the order of first appearance
    long Atoms = 0;
    int OpenPosition = 0; // of its "(", 1-based
};

void Add(std::vector<TElementCount>& to, const QString& symbol, long count)
{
    const auto it = std::find_if(to.begin(), to.end(), [&](const TElementCount& e) { return e.Symbol == symbol; });
    if (it != to.end())
        it->Count += count;
    else
        to.push_back({symbol, count});
}

class TFormulaReader {
public:
    explicit TFormulaReader(const QString& text) : text_(text) {}

    TChemicalFormula Read()
    {
        groups_.push_back({});
        for (qsizetype i = NextNonBlank(0); i < text_.size(); i = NextNonBlank(i)) {
            const QChar c = text_[i];
            if (c >= u'A' && c <= u'Z')
                i = ReadElement(i);
            else if (c == u'(') {
                groups_.push_back({{}, 0, Position(i)});
                ++i;
            } else if (c == u')')
                i = CloseGroup(i);
            else {
                // A whole surrogate pair, so that the message shows the
                // character that was typed.
                const qsizetype length = c.isHighSurrogate() && i + 1 < text_.size() && text_[i + 1].isLowSurrogate() ? 2 : 1;
                throw EFormulaError(TFormulaFault::UnexpectedCharacter, Position(i), text_.mid(i, length));
            }
        }
        if (groups_.size() > 1)
            throw EFormulaError(TFormulaFault::UnclosedParenthesis, groups_.back().OpenPosition, QStringLiteral("("));
        if (groups_.back().Elements.empty())
            throw EFormulaError(TFormulaFault::Empty, 0, {});
        return {std::move(groups_.back().Elements)};
    }

private:
    static int Position(qsizetype index) { return int(index) + 1; }

    // Blanks may stand anywhere, also inside a symbol or a count.
    qsizetype NextNonBlank(qsizetype i) const
    {
        while (i < text_.size() && text_[i].isSpace())
            ++i;
        return i;
    }

    // A count as read: its value (1 where there is none) and where its
    // digits stand (First < 0 where there is none).
    struct TCount {
        long Value = 1;
        qsizetype First = -1, End = -1;
    };

    // The digits of a count without the blanks between them, for a message.
    QString Digits(const TCount& c) const
    {
        QString digits;
        for (qsizetype i = c.First; i < c.End; ++i)
            if (IsAsciiDigit(text_[i]))
                digits += text_[i];
        return digits;
    }

    // An optional count after a symbol or a group. Returns the index after it.
    qsizetype ReadCount(qsizetype i, TCount& c) const
    {
        i = NextNonBlank(i);
        if (i >= text_.size() || !IsAsciiDigit(text_[i]))
            return i;
        c.First = i;
        long value = 0;
        while (i < text_.size() && IsAsciiDigit(text_[i])) {
            // Held just above the limit, so that no count of any length
            // overflows: anything larger is too many atoms anyway.
            value = std::min(value * 10 + (text_[i].unicode() - u'0'), kMaxFormulaAtoms + 1);
            c.End = i + 1;
            i = NextNonBlank(i + 1);
        }
        if (value == 0)
            throw EFormulaError(TFormulaFault::ZeroCount, Position(c.First), Digits(c));
        c.Value = value;
        return i;
    }

    // The atoms of every open group so far: the least the formula will hold,
    // whatever counts the groups get.
    long OpenAtoms() const
    {
        long atoms = 0;
        for (const TGroup& g : groups_)
            atoms += g.Atoms;
        return atoms;
    }

    qsizetype ReadElement(qsizetype i)
    {
        const int position = Position(i);
        // The letters may stand apart ("C l"); the table's own symbol is
        // kept, which costs no copy.
        QChar letters[2] = {text_[i], {}};
        qsizetype length = 1;
        i = NextNonBlank(i + 1);
        if (i < text_.size() && text_[i] >= u'a' && text_[i] <= u'z') {
            letters[length++] = text_[i];
            ++i;
        }
        const TChemicalElement* element = FindElement(QStringView(letters, length));
        if (!element)
            throw EFormulaError(TFormulaFault::UnknownElement, position, QString(letters, length));
        TCount count;
        i = ReadCount(i, count);
        if (OpenAtoms() + count.Value > kMaxFormulaAtoms) {
            if (count.First < 0)
                throw EFormulaError(TFormulaFault::TooManyAtoms, position, element->Symbol);
            throw EFormulaError(TFormulaFault::TooManyAtoms, Position(count.First), Digits(count));
        }
        Add(groups_.back().Elements, element->Symbol, count.Value);
        groups_.back().Atoms += count.Value;
        return i;
    }

    qsizetype CloseGroup(qsizetype i)
    {
        if (groups_.size() == 1)
            throw EFormulaError(TFormulaFault::UnopenedParenthesis, Position(i), QStringLiteral(")"));
        TGroup group = std::move(groups_.back());
        groups_.pop_back();
        if (group.Elements.empty())
            throw EFormulaError(TFormulaFault::EmptyGroup, group.OpenPosition, QStringLiteral("()"));
        TCount count;
        i = ReadCount(i + 1, count);
        // Both factors are at most just above the limit: no overflow. Without
        // a count the group's atoms are counted already and pass nothing.
        if (OpenAtoms() + group.Atoms * count.Value > kMaxFormulaAtoms)
            throw EFormulaError(TFormulaFault::TooManyAtoms, Position(count.First), Digits(count));
        for (const TElementCount& e : group.Elements)
            Add(groups_.back().Elements, e.Symbol, e.Count * count.Value);
        groups_.back().Atoms += group.Atoms * count.Value;
        return i;
    }

    const QString& text_;
    std::vector<TGroup> groups_;
};

} // namespace

long TChemicalFormula::AtomCount() const
{
    long atoms = 0;
    for (const TElementCount& e : Elements)
        atoms += e.Count;
    return atoms;
}

QString TChemicalFormula::Text(bool withOnes) const
{
    QString text;
    for (const TElementCount& e : Elements) {
        text += e.Symbol;
        if (withOnes || e.Count != 1)
            text += QString::number(e.Count);
    }
    return text;
}

namespace {

QStringList FaultArguments(const QString& token, int position)
{
    return {token, QString::number(position), QString::number(kMaxFormulaAtoms)};
}

QString FaultMessage(TFormulaFault fault, int position, const QString& token)
{
    QString text = EFormulaError::MessageTemplate(fault);
    const QStringList args = FaultArguments(token, position);
    for (qsizetype n = 0; n < args.size(); ++n)
        text.replace(QStringLiteral("<%") + QString::number(n + 1) + QStringLiteral("%>"), args[n]);
    return text;
}

} // namespace

EFormulaError::EFormulaError(TFormulaFault fault, int position, QString token)
    : std::runtime_error(FaultMessage(fault, position, token).toStdString()),
      fault_(fault),
      position_(position),
      token_(std::move(token))
{
}

QString EFormulaError::MessageTemplate(TFormulaFault fault)
{
    switch (fault) {
    case TFormulaFault::Empty:
        return QStringLiteral("The formula is empty");
    case TFormulaFault::UnexpectedCharacter:
        // One sentence for every character, also for a digit where no count
        // may stand (first, or after "("), so that it is translated once.
        return QStringLiteral("Unexpected character \"<%1%>\" at position <%2%>: expected an element symbol, a count or a parenthesis");
    case TFormulaFault::UnknownElement:
        return QStringLiteral("Unknown element \"<%1%>\" at position <%2%>");
    case TFormulaFault::UnclosedParenthesis:
        return QStringLiteral("Unclosed parenthesis at position <%2%>");
    case TFormulaFault::UnopenedParenthesis:
        return QStringLiteral("Closing parenthesis at position <%2%> without an opening one");
    case TFormulaFault::EmptyGroup:
        return QStringLiteral("Empty parentheses at position <%2%>");
    case TFormulaFault::ZeroCount:
        return QStringLiteral("Count 0 at position <%2%>");
    case TFormulaFault::TooManyAtoms:
        return QStringLiteral("More than <%3%> atoms at position <%2%>");
    }
    return {};
}

QStringList EFormulaError::MessageArguments() const
{
    return FaultArguments(token_, position_);
}

QString EFormulaError::Message() const
{
    return FaultMessage(fault_, position_, token_);
}

TChemicalFormula ParseChemicalFormula(const QString& text)
{
    return TFormulaReader(text).Read();
}
