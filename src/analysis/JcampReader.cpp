// JCAMP-DX: labelled data records "##LABEL=value" in blocks from "##TITLE="
// to "##END=", "$$" to the end of a line a comment. The tables of a block
// are the lines after "##PEAK TABLE=" or "##XYDATA=" up to the next label.
//
// XYDATA in the compressed forms (ASDF): a line holds its X, then Y values.
// A Y is written plainly (AFFN, or PAC with "+" and "-" as delimiters), or
// with its sign and first digit in one letter: SQZ (absolute), DIF (the
// difference to the Y before), DUP (the item before repeated: the count
// includes it). A line ending in DIF form repeats its last Y, written
// absolutely, at the start of the next line: the Y-check.
#include "analysis/ImportText.h"
#include "analysis/SpectrumImport.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Upper case without blanks, "-", "_" and "/": "Data Type" -> "DATATYPE".
QString NormalLabel(QStringView label)
{
    QString out;
    for (const QChar c : label) {
        if (c.isSpace() || c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('/'))
            continue;
        out += c.toUpper();
    }
    return out;
}

struct TDataLine {
    int Line = 0;
    QStringView Text;
};

struct TTable {
    QString Label;     // "PEAKTABLE" or "XYDATA"
    QString Variables; // "(XY..XY)", "(X++(Y..Y))", blanks removed, upper case
    int Line = 0;
    std::vector<TDataLine> Data;
};

struct TValue {
    QString Text;
    int Line = 0;
};

struct TBlock {
    int FirstLine = 0;
    QString Title;
    std::map<QString, TValue> Labels; // the first of each label
    std::vector<TTable> Tables;
    bool HasChildren = false;
    bool ChildHadData = false;
};

// A reason to refuse the block at a line.
struct TFault {
    int Line = 0;
    QString Reason;
};

// --- ASDF ---------------------------------------------------------------

struct TAsdfToken {
    enum TKind { Plain, Sqz, Dif, Dup } Kind = Plain;
    double Value = 0;    // Plain, Sqz, Dif
    long long Count = 0; // Dup
    QStringView Text;
};

bool IsSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char(',') || c == QLatin1Char(';');
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The signed first digit a pseudo-digit stands for, and its form.
bool PseudoDigit(QChar c, TAsdfToken::TKind& kind, int& digit)
{
    const char16_t u = c.unicode();
    if (u == '@' || (u >= 'A' && u <= 'I')) {
        kind = TAsdfToken::Sqz;
        digit = u == '@' ? 0 : u - 'A' + 1;
    } else if (u >= 'a' && u <= 'i') {
        kind = TAsdfToken::Sqz;
        digit = -(u - 'a' + 1);
    } else if (u == '%' || (u >= 'J' && u <= 'R')) {
        kind = TAsdfToken::Dif;
        digit = u == '%' ? 0 : u - 'J' + 1;
    } else if (u >= 'j' && u <= 'r') {
        kind = TAsdfToken::Dif;
        digit = -(u - 'j' + 1);
    } else if (u >= 'S' && u <= 'Z') {
        kind = TAsdfToken::Dup;
        digit = u - 'S' + 1;
    } else if (u == 's') {
        kind = TAsdfToken::Dup;
        digit = 9;
    } else {
        return false;
    }
    return true;
}

// The tokens of one data line; a fault for text that is no value.
std::optional<QString> AsdfTokens(QStringView line, std::vector<TAsdfToken>& tokens)
{
    tokens.clear();
    const qsizetype n = line.size();
    qsizetype i = 0;
    auto runText = [&](qsizetype start) {
        qsizetype end = start + 1;
        while (end < n && !IsSeparator(line[end]))
            ++end;
        return QuotedText(line.sliced(start, end - start));
    };
    while (i < n) {
        const QChar c = line[i];
        if (IsSeparator(c)) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        TAsdfToken token;
        int digit = 0;
        if (IsDigit(c) || c == QLatin1Char('.') || c == QLatin1Char('+') || c == QLatin1Char('-')) {
            // AFFN, or PAC where a sign is the delimiter.
            if (c == QLatin1Char('+') || c == QLatin1Char('-'))
                ++i;
            qsizetype digits = 0;
            while (i < n && IsDigit(line[i]))
                ++i, ++digits;
            if (i < n && line[i] == QLatin1Char('.'))
                for (++i; i < n && IsDigit(line[i]); ++i)
                    ++digits;
            // An exponent only with its sign: "E5" after a number is SQZ.
            if (digits > 0 && i + 2 < n && (line[i] == QLatin1Char('E') || line[i] == QLatin1Char('e'))
                && (line[i + 1] == QLatin1Char('+') || line[i + 1] == QLatin1Char('-')) && IsDigit(line[i + 2]))
                for (i += 2; i < n && IsDigit(line[i]); ++i) {
                }
            token.Text = line.sliced(start, i - start);
            if (digits == 0 || !ParseImportNumber(token.Text, token.Value))
                return QStringLiteral("%1 is not a number").arg(runText(start));
        } else if (PseudoDigit(c, token.Kind, digit)) {
            ++i;
            QString number = QString::number(std::abs(digit));
            while (i < n && (IsDigit(line[i]) || line[i] == QLatin1Char('.')))
                number += line[i++];
            token.Text = line.sliced(start, i - start);
            if (token.Kind == TAsdfToken::Dup) {
                long long count = 0;
                for (const QChar d : number) {
                    if (!IsDigit(d))
                        return QStringLiteral("%1 is not a count of repeats").arg(QuotedText(token.Text));
                    // Beyond any table's points; the caller refuses it.
                    count = std::min<long long>(count * 10 + (d.unicode() - '0'), 1LL << 40);
                }
                token.Count = count;
            } else {
                double v = 0;
                if (!ParseImportNumber(number, v))
                    return QStringLiteral("%1 is not a number").arg(QuotedText(token.Text));
                token.Value = digit < 0 ? -v : v;
            }
        } else if (c == QLatin1Char('?')) {
            return QStringLiteral("\"?\" (a value not known) cannot be read");
        } else {
            return QStringLiteral("%1 is not a number").arg(runText(start));
        }
        tokens.push_back(token);
    }
    return std::nullopt;
}

bool Near(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

// --- one block ------------------------------------------------------------

class TBlockReader {
public:
    explicit TBlockReader(const TBlock& block) : b_(block) {}

    // The spectrum, or the fault that refuses it.
    std::optional<TFault> Read(TImportedSpectrum& s)
    {
        label_ = RecordLabel(b_.Title);
        s.Format = TImportFormat::JcampDx;
        s.FirstLine = b_.FirstLine;
        s.Name = b_.Title;
        if (s.Name.isEmpty())
            return TFault{b_.FirstLine, QStringLiteral("a block without a title (##TITLE)")};
        const TValue* type = Find("DATATYPE");
        if (!type)
            return Fault(b_.FirstLine, QStringLiteral("not a mass spectrum (no ##DATA TYPE)"));
        if (!NormalLabel(type->Text).contains(QLatin1String("MASSSPECTRUM")))
            return Fault(type->Line, QStringLiteral("not a mass spectrum (##DATA TYPE=%1)").arg(CleanImportField(type->Text)));
        if (const TValue* v = Find("MOLFORM")) {
            // "C7 H5 N3 O6": the blanks only separate the elements.
            for (const QChar c : v->Text)
                if (!c.isSpace())
                    s.Formula += c;
        }
        const QString origin = Text("ORIGIN"), owner = Text("OWNER");
        s.Authors = origin;
        if (!owner.isEmpty() && owner != origin)
            s.Authors = origin.isEmpty() ? owner : QStringLiteral("%1, owner %2").arg(origin, owner);

        double xFactor = 1, yFactor = 1;
        if (auto f = Number("XFACTOR", xFactor))
            return f;
        if (auto f = Number("YFACTOR", yFactor))
            return f;

        // A line spectrum where the block has one: what the library keeps.
        const TTable* table = nullptr;
        for (const TTable& t : b_.Tables)
            if (t.Label == QLatin1String("PEAKTABLE")) {
                table = &t;
                break;
            }
        if (!table)
            table = &b_.Tables.front();

        std::vector<TSpectralLine> pairs;
        std::optional<TFault> fault;
        if (table->Variables == QLatin1String("(XY..XY)") || table->Variables == QLatin1String("(XYW..XYW)")
            || table->Variables == QLatin1String("(XYM..XYM)"))
            fault = ReadPairs(*table, table->Variables.size() == 8 ? 2 : 3, xFactor, yFactor, pairs);
        else if (table->Label == QLatin1String("XYDATA") && table->Variables == QLatin1String("(X++(Y..Y))"))
            fault = ReadXyData(*table, xFactor, yFactor, pairs);
        else
            fault = Fault(table->Line, QStringLiteral("the table form %1 is not read").arg(QuotedText(table->Variables)));
        if (fault)
            return fault;
        if (pairs.empty())
            return Fault(table->Line, QStringLiteral("no peak list"));
        if (const std::optional<QString> why = FinishImportedLines(s, std::move(pairs)))
            return Fault(table->Line, *why);
        return std::nullopt;
    }

private:
    TFault Fault(int line, const QString& reason) const { return {line, QStringLiteral("%1: %2").arg(label_, reason)}; }

    const TValue* Find(const char* label) const
    {
        const auto it = b_.Labels.find(QLatin1String(label));
        return it == b_.Labels.end() ? nullptr : &it->second;
    }

    QString Text(const char* label) const
    {
        const TValue* v = Find(label);
        return v ? CleanImportField(v->Text) : QString();
    }

    // A number label, left as it is when absent.
    std::optional<TFault> Number(const char* label, double& value) const
    {
        const TValue* v = Find(label);
        if (!v)
            return std::nullopt;
        const QStringView text = QStringView(v->Text).trimmed();
        if (!ParseImportNumber(text, value))
            return TFault{v->Line, QStringLiteral("%1 is not a number").arg(QuotedText(text))};
        return std::nullopt;
    }

    // (XY..XY) and its kin: groups of `group` numbers, X and Y first.
    std::optional<TFault> ReadPairs(const TTable& table, int group, double xFactor, double yFactor,
                                    std::vector<TSpectralLine>& pairs) const
    {
        std::vector<double> values;
        int lastLine = table.Line;
        for (const TDataLine& line : table.Data) {
            const qsizetype n = line.Text.size();
            for (qsizetype i = 0; i < n;) {
                if (IsSeparator(line.Text[i])) {
                    ++i;
                    continue;
                }
                const qsizetype start = i;
                while (i < n && !IsSeparator(line.Text[i]))
                    ++i;
                const QStringView token = line.Text.sliced(start, i - start);
                double v = 0;
                if (!ParseImportNumber(token, v))
                    return TFault{line.Line, QStringLiteral("%1 is not a number").arg(QuotedText(token))};
                values.push_back(v);
                lastLine = line.Line;
                if (values.size() == size_t(group)) {
                    pairs.push_back({values[0] * xFactor, values[1] * yFactor});
                    values.clear();
                }
            }
        }
        if (!values.empty())
            return Fault(lastLine, QStringLiteral("the peak table ends inside a pair"));
        if (const TValue* v = Find("NPOINTS")) {
            double count = 0;
            if (!ParseImportNumber(QStringView(v->Text).trimmed(), count) || count != double(pairs.size()))
                return Fault(v->Line, QStringLiteral("##NPOINTS says %1, the peak table holds %2 pairs")
                                          .arg(CleanImportField(v->Text))
                                          .arg(pairs.size()));
        }
        return std::nullopt;
    }

    std::optional<TFault> ReadXyData(const TTable& table, double xFactor, double yFactor,
                                     std::vector<TSpectralLine>& pairs) const
    {
        double firstX = 0, lastX = 0, count = 0;
        for (const char* label : {"FIRSTX", "LASTX", "NPOINTS"})
            if (!Find(label))
                return Fault(table.Line, QStringLiteral("##XYDATA without ##%1").arg(QLatin1String(label)));
        if (auto f = Number("FIRSTX", firstX))
            return f;
        if (auto f = Number("LASTX", lastX))
            return f;
        if (auto f = Number("NPOINTS", count))
            return f;
        const int countLine = Find("NPOINTS")->Line;
        if (count < 1 || count != std::floor(count))
            return Fault(countLine, QStringLiteral("##NPOINTS=%1 is not a number of points").arg(NumberText(count)));
        if (count > double(kMaxJcampPoints))
            return Fault(countLine, QStringLiteral("##NPOINTS=%1 is more than the %2 points read of a table")
                                        .arg(NumberText(count))
                                        .arg(kMaxJcampPoints));
        const size_t points = size_t(count);
        const double step = points > 1 ? (lastX - firstX) / double(points - 1) : 0.0;
        if (!std::isfinite(step))
            return Fault(table.Line, QStringLiteral("##FIRSTX and ##LASTX lie beyond the range of numbers"));

        std::vector<double> ys;
        ys.reserve(std::min<size_t>(points, 65536));
        std::vector<TAsdfToken> tokens;
        std::vector<double> lineYs;
        bool checkNext = false; // the line before ended in DIF form
        for (const TDataLine& line : table.Data) {
            if (const std::optional<QString> why = AsdfTokens(line.Text, tokens))
                return TFault{line.Line, *why};
            if (tokens.empty())
                continue;
            if (tokens.front().Kind != TAsdfToken::Plain && tokens.front().Kind != TAsdfToken::Sqz)
                return TFault{line.Line, QStringLiteral("%1 is no X value: a line begins with its X")
                                             .arg(QuotedText(tokens.front().Text))};
            const double x = tokens.front().Value * xFactor;

            // The Ys of the line, DUPs unfolded; never more than the table can hold.
            lineYs.clear();
            bool endsInDif = false;
            double difference = 0;
            const size_t room = points + 1 - std::min(ys.size(), points + 1);
            for (size_t t = 1; t < tokens.size(); ++t) {
                const TAsdfToken& token = tokens[t];
                if (token.Kind == TAsdfToken::Dup) {
                    if (lineYs.empty())
                        return TFault{line.Line, QStringLiteral("%1 repeats no value before it").arg(QuotedText(token.Text))};
                    if (token.Count < 1 || token.Count - 1 > (long long)(room - lineYs.size()))
                        return Fault(line.Line, QStringLiteral("the data hold more than the %1 points of ##NPOINTS").arg(points));
                    for (long long r = 1; r < token.Count; ++r)
                        lineYs.push_back(endsInDif ? lineYs.back() + difference : lineYs.back());
                    continue;
                }
                if (lineYs.size() >= room)
                    return Fault(line.Line, QStringLiteral("the data hold more than the %1 points of ##NPOINTS").arg(points));
                if (token.Kind == TAsdfToken::Dif) {
                    if (lineYs.empty())
                        return TFault{line.Line, QStringLiteral("%1 is a difference to no value before it on its line")
                                                     .arg(QuotedText(token.Text))};
                    difference = token.Value;
                    lineYs.push_back(lineYs.back() + difference);
                    endsInDif = true;
                } else {
                    lineYs.push_back(token.Value);
                    endsInDif = false;
                }
            }

            size_t first = ys.size(); // the point the line's X stands for
            if (checkNext) {
                if (lineYs.empty())
                    return TFault{line.Line, QStringLiteral("the Y-check value is missing (the line before ends in DIF form)")};
                if (!Near(lineYs.front(), ys.back()))
                    return TFault{line.Line, QStringLiteral("the DIF Y-check fails: the line begins with %1, the line "
                                                            "before ended with %2")
                                                 .arg(NumberText(lineYs.front()), NumberText(ys.back()))};
                ys.pop_back();
                first = ys.size();
            }
            const double expected = firstX + double(first) * step;
            if (!(std::fabs(x - expected) <= 0.5 * std::fabs(step) + 1e-9 * std::max(1.0, std::fabs(expected))))
                return TFault{line.Line, QStringLiteral("the X value %1 should be %2 (point %3 from ##FIRSTX to ##LASTX)")
                                             .arg(NumberText(x), NumberText(expected))
                                             .arg(first + 1)};
            ys.insert(ys.end(), lineYs.begin(), lineYs.end());
            checkNext = endsInDif && !lineYs.empty();
        }
        if (ys.size() != points)
            return Fault(table.Line, QStringLiteral("##NPOINTS says %1, the data hold %2 points").arg(points).arg(ys.size()));
        pairs.reserve(points);
        for (size_t k = 0; k < points; ++k)
            pairs.push_back({firstX + double(k) * step, ys[k] * yFactor});
        return std::nullopt;
    }

    const TBlock& b_;
    QString label_;
};

// Reads a closed block: its spectrum, its refusal, or nothing for a block
// that only links others.
void Close(TBlock& block, TBlock* parent, TImportResult& result)
{
    const bool hasData = !block.Tables.empty();
    if (parent && (hasData || block.ChildHadData))
        parent->ChildHadData = true;
    if (block.ChildHadData)
        return; // the blocks inside are the spectra
    if (!hasData) {
        if (block.HasChildren)
            return;
        const QString label = RecordLabel(block.Title);
        if (block.Labels.count(QStringLiteral("NTUPLES")))
            result.Refusals.push_back({block.FirstLine, QStringLiteral("%1: a series of spectra (##NTUPLES) is not read").arg(label)});
        else
            result.Refusals.push_back({block.FirstLine, QStringLiteral("%1: no peak list (##PEAK TABLE or ##XYDATA)").arg(label)});
        return;
    }
    TImportedSpectrum s;
    if (const std::optional<TFault> fault = TBlockReader(block).Read(s))
        result.Refusals.push_back({fault->Line, fault->Reason});
    else
        result.Spectra.push_back(std::move(s));
}

} // namespace

TImportResult ReadJcampDx(const QByteArray& content)
{
    const QString text = DecodeImportText(content);
    const std::vector<QStringView> lines = ImportLines(text);
    TImportResult result;
    std::vector<TBlock> open; // the innermost last
    TValue* continued = nullptr; // the label whose value goes on
    TTable* table = nullptr;     // the table whose data follow
    for (size_t k = 0; k < lines.size(); ++k) {
        QStringView line = lines[k];
        const int number = int(k + 1);
        if (const qsizetype comment = line.indexOf(QLatin1String("$$")); comment >= 0)
            line = line.first(comment);
        line = line.trimmed();
        if (!line.startsWith(QLatin1String("##"))) {
            if (line.isEmpty())
                continue;
            if (table)
                table->Data.push_back({number, line});
            else if (continued)
                continued->Text += QLatin1Char(' ') + line.toString();
            continue;
        }
        continued = nullptr;
        table = nullptr;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString label = NormalLabel(equals < 0 ? line.sliced(2) : line.sliced(2, equals - 2));
        const QStringView value = equals < 0 ? QStringView() : line.sliced(equals + 1).trimmed();
        if (label == QLatin1String("TITLE")) {
            if (!open.empty())
                open.back().HasChildren = true;
            open.emplace_back();
            open.back().FirstLine = number;
            open.back().Title = CleanImportField(value);
            continue;
        }
        if (open.empty())
            continue; // outside every block
        TBlock& block = open.back();
        if (label == QLatin1String("END")) {
            TBlock closed = std::move(block);
            open.pop_back();
            Close(closed, open.empty() ? nullptr : &open.back(), result);
            continue;
        }
        if (label == QLatin1String("PEAKTABLE") || label == QLatin1String("XYDATA")) {
            // "(X++(Y..Y))": up to the parenthesis that closes the first.
            qsizetype end = 0;
            int depth = 0;
            for (; end < value.size(); ++end) {
                if (value[end] == QLatin1Char('('))
                    ++depth;
                else if (value[end] == QLatin1Char(')') && --depth <= 0)
                    break;
            }
            end = std::min(end + 1, value.size());
            TTable t;
            t.Label = label;
            for (const QChar c : value.first(end))
                if (!c.isSpace())
                    t.Variables += c.toUpper();
            t.Line = number;
            if (const QStringView rest = value.sliced(end).trimmed(); !rest.isEmpty())
                t.Data.push_back({number, rest});
            block.Tables.push_back(std::move(t));
            table = &block.Tables.back();
            continue;
        }
        const auto inserted = block.Labels.emplace(label, TValue{value.toString(), number});
        if (inserted.second)
            continued = &inserted.first->second;
    }
    // Blocks the file left open end with it.
    while (!open.empty()) {
        TBlock closed = std::move(open.back());
        open.pop_back();
        Close(closed, open.empty() ? nullptr : &open.back(), result);
    }
    const auto byLine = [](const auto& a, const auto& b) { return a.FirstLine < b.FirstLine; };
    std::stable_sort(result.Spectra.begin(), result.Spectra.end(), byLine);
    std::stable_sort(result.Refusals.begin(), result.Refusals.end(),
                     [](const TImportRefusal& a, const TImportRefusal& b) { return a.Line < b.Line; });
    if (result.Spectra.empty() && result.Refusals.empty())
        result.Refusals.push_back({0, QStringLiteral("no JCAMP-DX block (##TITLE= ... ##END=) in the file")});
    return result;
}
