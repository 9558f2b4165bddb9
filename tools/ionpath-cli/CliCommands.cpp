#include "CliCommands.h"

#include "CliArguments.h"
#include "app/FieldScan.h"
#include "app/SpectrometerCharts.h"
#include "app/SpectrumCsv.h"
#include "app/SpectrumLibrary.h"
#include "app/Substance.h"
#include "chart/ChartExport.h"
#include "chart/RChart.h"
#include "i18n/Lexifer2000.h"
#include "i18n/TranslationFile.h"
#include "support/Errors.h"
#include "support/FormatReal.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>
#include <algorithm>
#include <map>
#include <set>

namespace {

// A failure that ends the command with a message and an exit status.
struct TCliError {
    int Status;
    QString Message;
};

[[noreturn]] void Fail(int status, const QString& message)
{
    throw TCliError{status, message};
}

const char* const kDescription =
    "Ionpath on the command line: the substances of a spectrum library, the\n"
    "ion paths of the sector-field mass spectrometer and its recorded spectra.\n"
    "\n"
    "Commands:\n"
    "  list                          the substances of the library\n"
    "  lines SUBSTANCE               its lines as CSV: mass, abundance (percent)\n"
    "  focus SUBSTANCE --voltage V --field B\n"
    "                                the radius factor F, the mass in focus and the\n"
    "                                line in focus (or none)\n"
    "  scan SUBSTANCE --voltage V [--from B]\n"
    "                                a whole field scan, from B (default 0.1 mT) to\n"
    "                                500 mT; the recorded spectrum as CSV\n"
    "  render SUBSTANCE --voltage V --field B [--deflection FILE] [--spectrum FILE]\n"
    "         [--no-scan]            the deflection and spectrum charts as the window\n"
    "                                shows them, as PNG, SVG or PDF by the file's\n"
    "                                extension; the spectrum is that of a whole scan\n"
    "                                at V with the cursor at the mass in focus, or\n"
    "                                with --no-scan only the line in focus at B\n"
    "\n"
    "The voltage is given in V (3000 to 8000), the field in mT as the window\n"
    "shows it (0.1 to 500 in steps of 0.1; \"250\", \"250mT\" or \"0.25T\").\n"
    "The library is the one installed with the program (\"ms_spec_sample.tra\"\n"
    "beside it) unless --library names another.\n"
    "Exit status: 0 done, 1 failed, 2 wrong command line.";

struct TOptions {
    QCommandLineOption Library{QStringLiteral("library"),
                               QStringLiteral("The spectrum library to read (default: the one installed with the program)."),
                               QStringLiteral("FILE")};
    QCommandLineOption Voltage{QStringLiteral("voltage"), QStringLiteral("Acceleration voltage in V (3000 to 8000)."),
                               QStringLiteral("V")};
    QCommandLineOption Field{QStringLiteral("field"), QStringLiteral("Magnetic field in mT (0.1 to 500)."),
                             QStringLiteral("B")};
    QCommandLineOption From{QStringLiteral("from"), QStringLiteral("scan: the field the scan starts from, in mT."),
                            QStringLiteral("B")};
    QCommandLineOption Deflection{QStringLiteral("deflection"),
                                  QStringLiteral("render: the deflection chart's file (.png, .svg, .pdf)."),
                                  QStringLiteral("FILE")};
    QCommandLineOption Spectrum{QStringLiteral("spectrum"),
                                QStringLiteral("render: the spectrum chart's file (.png, .svg, .pdf)."),
                                QStringLiteral("FILE")};
    QCommandLineOption NoScan{QStringLiteral("no-scan"),
                              QStringLiteral("render: the spectrum shows only the line in focus at the field.")};
};

struct TCommand {
    int Substances; // positional arguments after the command: 0 or 1
    std::set<QString> Required;
    std::set<QString> Allowed; // required ones and --library included
};

const std::map<QString, TCommand>& Commands()
{
    static const std::map<QString, TCommand> commands = {
        {QStringLiteral("list"), {0, {}, {QStringLiteral("library")}}},
        {QStringLiteral("lines"), {1, {}, {QStringLiteral("library")}}},
        {QStringLiteral("focus"),
         {1,
          {QStringLiteral("voltage"), QStringLiteral("field")},
          {QStringLiteral("library"), QStringLiteral("voltage"), QStringLiteral("field")}}},
        {QStringLiteral("scan"),
         {1,
          {QStringLiteral("voltage")},
          {QStringLiteral("library"), QStringLiteral("voltage"), QStringLiteral("from")}}},
        {QStringLiteral("render"),
         {1,
          {QStringLiteral("voltage"), QStringLiteral("field")},
          {QStringLiteral("library"), QStringLiteral("voltage"), QStringLiteral("field"), QStringLiteral("deflection"),
           QStringLiteral("spectrum"), QStringLiteral("no-scan")}}},
    };
    return commands;
}

template <typename T>
T Checked(std::variant<T, TArgumentError> v)
{
    if (auto* e = std::get_if<TArgumentError>(&v))
        Fail(kExitUsage, e->Message);
    return std::get<T>(v);
}

class TCli {
public:
    TCli(QTextStream& out) : out_(out) {}

    int Run(const QStringList& arguments)
    {
        QCommandLineParser parser;
        parser.setApplicationDescription(QString::fromLatin1(kDescription));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        const QCommandLineOption help = parser.addHelpOption();
        parser.addOptions({o_.Library, o_.Voltage, o_.Field, o_.From, o_.Deflection, o_.Spectrum, o_.NoScan});
        parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("list, lines, focus, scan or render"));
        parser.addPositionalArgument(QStringLiteral("substance"), QStringLiteral("The substance's name as listed."),
                                     QStringLiteral("[SUBSTANCE]"));
        if (!parser.parse(arguments))
            Fail(kExitUsage, parser.errorText());
        if (parser.isSet(help)) {
            // The parser names the program by the path it was started by,
            // which for the installed tool is the program folder's.
            QString text = parser.helpText();
            const QString usage = QStringLiteral("Usage: ");
            const qsizetype options = text.indexOf(QStringLiteral(" [options]"));
            if (text.startsWith(usage) && options > 0)
                text.replace(usage.size(), options - usage.size(), QStringLiteral("ionpath-cli"));
            out_ << text;
            return 0;
        }
        const QStringList positional = parser.positionalArguments();
        if (positional.isEmpty())
            Fail(kExitUsage, QStringLiteral("no command given"));
        const QString name = positional.first();
        const auto found = Commands().find(name);
        if (found == Commands().end())
            Fail(kExitUsage, QStringLiteral("unknown command \"%1\"").arg(name));
        const TCommand& command = found->second;
        if (positional.size() - 1 < command.Substances)
            Fail(kExitUsage, QStringLiteral("%1: no substance given").arg(name));
        if (positional.size() - 1 > command.Substances)
            Fail(kExitUsage, QStringLiteral("%1: unexpected argument \"%2\"").arg(name, positional.at(command.Substances + 1)));
        for (const QString& option : parser.optionNames())
            if (!command.Allowed.count(option))
                Fail(kExitUsage, QStringLiteral("%1 does not take --%2").arg(name, option));
        for (const QString& option : command.Required)
            if (!parser.isSet(option))
                Fail(kExitUsage, QStringLiteral("%1 needs --%2").arg(name, option));
        parser_ = &parser;
        substanceName_ = command.Substances ? positional.at(1) : QString();

        if (name == QLatin1String("list"))
            List();
        else if (name == QLatin1String("lines"))
            Lines();
        else if (name == QLatin1String("focus"))
            Focus();
        else if (name == QLatin1String("scan"))
            Scan();
        else
            Render();
        return 0;
    }

private:
    int Voltage() const { return Checked(ParseVoltage(parser_->value(o_.Voltage))); }
    int Field(const QCommandLineOption& o) const { return Checked(ParseField(parser_->value(o))); }

    // The library given, else the one that ships beside the program (the
    // window reads the same one), wherever the tool is started from.
    QString LibraryPath() const
    {
        if (parser_->isSet(o_.Library))
            return parser_->value(o_.Library);
        return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(TSpectrumLibrary::kFileName));
    }

    TSpectrumLibrary& Library()
    {
        QString error;
        if (!library_.Open(LibraryPath(), &error))
            Fail(kExitFailure, QStringLiteral("cannot read the spectrum library: %1").arg(error)); // error names the file
        return library_;
    }

    TSubstance Substance()
    {
        TSpectrumLibrary& library = Library();
        std::optional<TSubstance> s;
        try {
            s = LoadSubstance(library, substanceName_);
        } catch (const Exception& e) {
            Fail(kExitFailure, QStringLiteral("the record of \"%1\" is damaged: %2").arg(substanceName_, e.Message()));
        }
        if (!s)
            Fail(kExitFailure, QStringLiteral("unknown substance \"%1\" in \"%2\" (ionpath-cli list names them)")
                                   .arg(substanceName_, QDir::toNativeSeparators(LibraryPath())));
        return *s;
    }

    void List()
    {
        for (const QString& name : Library().SubstanceNames())
            out_ << name << '\n';
    }

    void Lines()
    {
        std::vector<TSpectralLine> lines = Substance().Lines;
        std::stable_sort(lines.begin(), lines.end(),
                         [](const TSpectralLine& a, const TSpectralLine& b) { return a.Mass < b.Mass; });
        out_ << "mass,abundance\n";
        for (const TSpectralLine& l : lines)
            out_ << CsvNumber(l.Mass) << ',' << CsvNumber(l.Abundance) << '\n';
    }

    void Focus()
    {
        const int voltage = Voltage(), field = Field(o_.Field);
        const TSubstance s = Substance();
        const TIonPaths model = ComputeIonPathModel(voltage, field, SectorFieldConstant(), s.Lines);
        out_ << "substance: " << s.Name << '\n'
             << "voltage: " << voltage << " V\n"
             << "field: " << FieldText(field) << '\n'
             << "F: " << QString::number(model.F, 'f', 4) << '\n'
             << "mass in focus: " << QString::number(model.MassInFocus, 'f', 3) << '\n'
             << "display: " << FormatReal(1, 1, model.MassInFocus) << '\n';
        if (const auto stick = StickInFocus(model, s.Lines)) {
            out_ << "line in focus: mass " << CsvNumber(stick->Mass) << ", abundance " << CsvNumber(stick->Abundance)
                 << ", radius " << QString::number(model.Paths[size_t(model.Best)].Radius, 'f', 2) << '\n';
        } else {
            out_ << "line in focus: none\n";
        }
    }

    void Scan()
    {
        const int voltage = Voltage();
        const int from = parser_->isSet(o_.From) ? Field(o_.From) : kFieldMinimum;
        const TSubstance s = Substance();
        TFieldScan scan(s.Lines, voltage, from);
        scan.Run();
        const TSpectrumCsvHeader header{s.Name, voltage,
                                        FieldText(from) + QStringLiteral(" to ") + FieldText(kFieldMaximum),
                                        QDateTime::currentDateTime()};
        out_ << QString::fromUtf8(SpectrumCsv(header, scan.Sticks()));
    }

    void Render()
    {
        const int voltage = Voltage(), field = Field(o_.Field);
        const QString deflectionPath = parser_->value(o_.Deflection), spectrumPath = parser_->value(o_.Spectrum);
        if (deflectionPath.isEmpty() && spectrumPath.isEmpty())
            Fail(kExitUsage, QStringLiteral("render needs --deflection FILE or --spectrum FILE"));
        for (const QString& path : {deflectionPath, spectrumPath})
            if (!path.isEmpty() && !ChartFileFormatOf(path))
                Fail(kExitUsage, QStringLiteral("\"%1\": the name must end in .png, .svg or .pdf").arg(path));
        // The second picture would replace the first.
        if (!deflectionPath.isEmpty() && !spectrumPath.isEmpty()
            && QFileInfo(deflectionPath).absoluteFilePath() == QFileInfo(spectrumPath).absoluteFilePath())
            Fail(kExitUsage, QStringLiteral("--deflection and --spectrum name the same file \"%1\"").arg(deflectionPath));
        const TSubstance s = Substance();

        // The charts as the window holds them after its first activation.
        TRChart deflection, spectrum;
        SetUpDeflectionChart(deflection);
        SetUpSpectrumChart(spectrum);
        deflection.SetTransparentFill(true);
        if (s.MassAxisEnd)
            spectrum.Scale1X()->SetRangeHigh(*s.MassAxisEnd);
        Translate(deflection, spectrum);

        const double k = SectorFieldConstant();
        if (!parser_->isSet(o_.NoScan)) {
            TFieldScan scan(s.Lines, voltage, kFieldMinimum);
            scan.Run();
            for (const TSpectralLine& stick : scan.Sticks())
                spectrum.AddLine(stick.Mass, 0, stick.Mass, stick.Abundance);
        }
        const TIonPaths model = ComputeIonPathModel(voltage, field, k, s.Lines);
        ShowIonPaths(deflection, model, s.Lines);
        ShowDetector(spectrum, model, s.Lines);

        try {
            if (!deflectionPath.isEmpty())
                SaveChartPicture(deflection, deflectionPath);
            if (!spectrumPath.isEmpty())
                SaveChartPicture(spectrum, spectrumPath);
        } catch (const Exception& e) {
            Fail(kExitFailure, e.Message());
        }
    }

    // The charts' captions in the program's language, from the program's
    // translation file beside this tool, as the window finds its own.
    static void Translate(TRChart& a, TRChart& b)
    {
        TLexifer2000 lexifer(QStringLiteral("Ionpath"));
        const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ionpath"));
        LoadTranslationFile(lexifer, FindTranslationFile(program, QLocale().uiLanguages()));
        lexifer.TranslateForm(&a);
        lexifer.TranslateForm(&b);
    }

    QTextStream& out_;
    TOptions o_;
    QCommandLineParser* parser_ = nullptr;
    QString substanceName_;
    TSpectrumLibrary library_;
};

} // namespace

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    try {
        return TCli(out).Run(arguments);
    } catch (const TCliError& e) {
        out.flush();
        err << "ionpath-cli: " << e.Message << '\n';
        if (e.Status == kExitUsage)
            err << "Try 'ionpath-cli --help'.\n";
        return e.Status;
    } catch (const std::exception& e) {
        out.flush();
        err << "ionpath-cli: " << e.what() << '\n';
        return kExitFailure;
    }
}
