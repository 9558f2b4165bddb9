#include "CliCommands.h"

#include "CliArguments.h"
#include "app/Exercise.h"
#include "app/ExerciseSheet.h"
#include "app/FieldScan.h"
#include "app/InstrumentCharts.h"
#include "app/IsotopePatternSubstance.h"
#include "app/LibrarySpectra.h"
#include "app/SpectrometerCharts.h"
#include "app/SpectrumCsv.h"
#include "app/SpectrumCsvReader.h"
#include "app/SpectrumFileImport.h"
#include "app/SpectrumLibrary.h"
#include "app/Substance.h"
#include "app/SubstanceMass.h"
#include "app/UserSpectrumLibrary.h"
#include "chart/ChartExport.h"
#include "chart/RChart.h"
#include "i18n/Lexifer2000.h"
#include "i18n/TranslationFile.h"
#include "support/Errors.h"
#include "support/FormatReal.h"
#include "support/TextRoutines.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>
#include <algorithm>
#include <cmath>
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
    "  list                          the substances of the library, then those of\n"
    "                                the user's library\n"
    "  lines SUBSTANCE               its lines as CSV: mass, abundance (percent)\n"
    "  focus SUBSTANCE --voltage V --field B [--charge Z]\n"
    "                                the radius factor F, the mass (m/z) in focus\n"
    "                                and the line in focus (or none)\n"
    "  scan SUBSTANCE --voltage V [--from B] [--charge Z]\n"
    "       [--detector classic|slit|plate] [--source-slit MM] [--detector-slit MM]\n"
    "       [--energy-spread V] [--angular-spread MRAD] [--field B]\n"
    "                                a whole field scan, from B (default 0.1 mT) to\n"
    "                                500 mT; the recorded spectrum as CSV. The\n"
    "                                detector is the classic one unless --detector\n"
    "                                says otherwise. With slit the field steps\n"
    "                                0.1 mT at a time and the trace is written as\n"
    "                                CSV: field (mT, a number), m/z in focus,\n"
    "                                current (in percent of the strongest line, as\n"
    "                                the abundances: a line passing whole gives its\n"
    "                                abundance), headed by the resolving power m/dm\n"
    "                                (FWHM) of the strongest peak. plate needs\n"
    "                                --field B and writes the plate's blackening\n"
    "                                (0 to 1) against m/z. Source slit 0.05 to 2 mm\n"
    "                                (default 0.5), detector slit 0.05 to 5 mm\n"
    "                                (default 0.5; for the plate, the window it is\n"
    "                                read through), energy spread 0 to 100 V (full\n"
    "                                width, uniform; default 0), angular spread 0\n"
    "                                to 10 mrad (half-angle; default 0)\n"
    "  render SUBSTANCE --voltage V --field B [--charge Z] [--deflection FILE]\n"
    "         [--spectrum FILE] [--no-scan] [--detector classic|slit|plate]\n"
    "         [--source-slit MM] [--detector-slit MM] [--energy-spread V]\n"
    "         [--angular-spread MRAD]\n"
    "                                the deflection and spectrum charts as the window\n"
    "                                shows them, as PNG, SVG or PDF by the file's\n"
    "                                extension; the spectrum is that of a whole scan\n"
    "                                at V with the cursor at the mass in focus, or\n"
    "                                with --no-scan only the line in focus at B.\n"
    "                                With a slit or a plate the deflection view draws\n"
    "                                the beams, and the spectrum is the slit's trace\n"
    "                                or the plate's blackening at B\n"
    "  mass SUBSTANCE --voltage V [--charge Z]\n"
    "                                a whole field scan at V; the distinct recorded\n"
    "                                lines (mass, exact mass, abundance, share in %\n"
    "                                of all) and their abundance-weighted mean mass,\n"
    "                                beside the standard atomic weight of an element\n"
    "                                or the standard molecular weight of a formula.\n"
    "                                Lines that cannot reach the detector at V are\n"
    "                                named in a warning with the highest voltage at\n"
    "                                which they would\n"
    "  pattern FORMULA               the isotope pattern of a molecular formula as\n"
    "                                CSV: nominal mass, exact mass (u), abundance\n"
    "                                (percent of the strongest line); molecular ion\n"
    "                                only, isotopologues down to 0.01 %\n"
    "  identify FILE.csv             the ten substances of the library and the user's\n"
    "                                whose spectra the recorded spectrum in the file\n"
    "                                resembles most, best first, as CSV: rank, name,\n"
    "                                score (999 the same spectrum, 0 no mass in\n"
    "                                common). The file is a spectrum as scan writes\n"
    "                                it or any table of mass (or m/z) and abundance,\n"
    "                                comma or semicolon separated, header optional\n"
    "  import FILE...                adds the spectra of MassBank records, MSP text\n"
    "                                and JCAMP-DX files (by their content) to the\n"
    "                                user's library, with their authors, source and\n"
    "                                licence; a line per file says how many were\n"
    "                                imported or there already and which records\n"
    "                                were refused and why. All go in with one write\n"
    "                                of the library, or none. Exit status 0 when\n"
    "                                every file was read, also when records in it\n"
    "                                were refused (the others are imported); 1 when\n"
    "                                a file cannot be read or is no spectrum file,\n"
    "                                or the library cannot be written\n"
    "  exercise --seed SEED [--sheet FILE.pdf]\n"
    "                                the teacher's key of a class exercise as CSV:\n"
    "                                sample, substance. `ionpath --exercise SEED`\n"
    "                                offers the same five substances of the shipped\n"
    "                                library as Sample A to E on every machine; any\n"
    "                                text is a seed. --sheet writes the printable\n"
    "                                worksheet: a page per sample with its spectrum\n"
    "                                and room for the answer\n"
    "\n"
    "Wherever a SUBSTANCE is named, --formula FORMULA takes the isotope pattern\n"
    "of a molecular formula instead (\"CH3Cl\", \"Ca(OH)2\"; symbols are\n"
    "case-sensitive). --charge Z (1, 2 or 3; default 1) makes the ions Z-fold\n"
    "charged: the field sees m/z, the mass divided by Z, and the output says\n"
    "m/z where it means it.\n"
    "The voltage is given in V (3000 to 8000), the field in mT as the window\n"
    "shows it (0.1 to 500 in steps of 0.1; \"250\", \"250mT\" or \"0.25T\").\n"
    "The library is the one installed with the program (\"ms_spec_sample.tra\"\n"
    "beside it) unless --library names another. The user's own library,\n"
    "$XDG_DATA_HOME/ionpath/user_spectra.tra (else\n"
    "~/.local/share/ionpath/user_spectra.tra), is read as well: its substances\n"
    "are listed after the library's, and a name is looked up in the library\n"
    "first. --no-user-library leaves it out. A user library that cannot be read\n"
    "or holds damaged records is reported once as a warning; the rest works on.\n"
    "Exit status: 0 done (also after a warning), 1 failed (also a formula that\n"
    "cannot be read, an unknown or damaged substance), 2 wrong command line.";

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
    QCommandLineOption Formula{QStringLiteral("formula"),
                               QStringLiteral("The isotope pattern of this molecular formula instead of a SUBSTANCE."),
                               QStringLiteral("FORMULA")};
    QCommandLineOption Charge{QStringLiteral("charge"),
                              QStringLiteral("focus, scan, render, mass: the ions' charge, 1, 2 or 3 (default 1)."),
                              QStringLiteral("Z")};
    QCommandLineOption Seed{QStringLiteral("seed"), QStringLiteral("exercise: the exercise's seed (any text)."),
                            QStringLiteral("SEED")};
    QCommandLineOption Sheet{QStringLiteral("sheet"), QStringLiteral("exercise: the worksheet's file (.pdf)."),
                             QStringLiteral("FILE")};
    QCommandLineOption NoUserLibrary{QStringLiteral("no-user-library"),
                                     QStringLiteral("Leave the user's own spectrum library out.")};
    QCommandLineOption Detector{QStringLiteral("detector"),
                                QStringLiteral("scan, render: the detector, classic (default), slit or plate."),
                                QStringLiteral("KIND")};
    QCommandLineOption SourceSlit{QStringLiteral("source-slit"),
                                  QStringLiteral("scan, render: the source slit's width in mm (0.05 to 2, default 0.5)."),
                                  QStringLiteral("MM")};
    QCommandLineOption DetectorSlit{QStringLiteral("detector-slit"),
                                    QStringLiteral("scan, render: the detector slit's width in mm (0.05 to 5, default 0.5)."),
                                    QStringLiteral("MM")};
    QCommandLineOption EnergySpread{QStringLiteral("energy-spread"),
                                    QStringLiteral("scan, render: the ions' energy spread in V (0 to 100, default 0)."),
                                    QStringLiteral("V")};
    QCommandLineOption AngularSpread{QStringLiteral("angular-spread"),
                                     QStringLiteral("scan, render: the beam's half-angle in mrad (0 to 10, default 0)."),
                                     QStringLiteral("MRAD")};
};

struct TCommand {
    int Substances; // positional arguments after the command: 0 or 1; -1 one or more
    std::set<QString> Required;
    std::set<QString> Allowed; // required ones and --library included
    QString Argument = QStringLiteral("substance"); // what the positional argument is
};

// The options of every command that names a substance: where it comes from.
std::set<QString> SubstanceOptions(std::set<QString> others)
{
    others.insert({QStringLiteral("library"), QStringLiteral("no-user-library"), QStringLiteral("formula")});
    return others;
}

const std::map<QString, TCommand>& Commands()
{
    static const std::map<QString, TCommand> commands = {
        {QStringLiteral("list"), {0, {}, {QStringLiteral("library"), QStringLiteral("no-user-library")}}},
        {QStringLiteral("lines"), {1, {}, SubstanceOptions({})}},
        {QStringLiteral("focus"),
         {1,
          {QStringLiteral("voltage"), QStringLiteral("field")},
          SubstanceOptions({QStringLiteral("voltage"), QStringLiteral("field"), QStringLiteral("charge")})}},
        {QStringLiteral("scan"),
         {1,
          {QStringLiteral("voltage")},
          SubstanceOptions({QStringLiteral("voltage"), QStringLiteral("from"), QStringLiteral("charge"),
                            QStringLiteral("detector"), QStringLiteral("source-slit"), QStringLiteral("detector-slit"),
                            QStringLiteral("energy-spread"), QStringLiteral("angular-spread"), QStringLiteral("field")})}},
        {QStringLiteral("render"),
         {1,
          {QStringLiteral("voltage"), QStringLiteral("field")},
          SubstanceOptions({QStringLiteral("voltage"), QStringLiteral("field"), QStringLiteral("charge"),
                            QStringLiteral("deflection"), QStringLiteral("spectrum"), QStringLiteral("no-scan"),
                            QStringLiteral("detector"), QStringLiteral("source-slit"), QStringLiteral("detector-slit"),
                            QStringLiteral("energy-spread"), QStringLiteral("angular-spread")})}},
        {QStringLiteral("mass"),
         {1, {QStringLiteral("voltage")}, SubstanceOptions({QStringLiteral("voltage"), QStringLiteral("charge")})}},
        {QStringLiteral("pattern"), {1, {}, {}, QStringLiteral("formula")}},
        {QStringLiteral("identify"),
         {1, {}, {QStringLiteral("library"), QStringLiteral("no-user-library")}, QStringLiteral("file")}},
        // --no-user-library is taken only to be refused with the reason.
        {QStringLiteral("import"), {-1, {}, {QStringLiteral("no-user-library")}, QStringLiteral("file")}},
        {QStringLiteral("exercise"),
         {0, {QStringLiteral("seed")}, {QStringLiteral("library"), QStringLiteral("seed"), QStringLiteral("sheet")}}},
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
    TCli(QTextStream& out, QTextStream& err) : out_(out), err_(err) {}

    int Run(const QStringList& arguments)
    {
        QCommandLineParser parser;
        parser.setApplicationDescription(QString::fromLatin1(kDescription));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        const QCommandLineOption help = parser.addHelpOption();
        parser.addOptions({o_.Library, o_.NoUserLibrary, o_.Voltage, o_.Field, o_.From, o_.Charge, o_.Formula,
                           o_.Deflection, o_.Spectrum, o_.NoScan, o_.Seed, o_.Sheet, o_.Detector, o_.SourceSlit,
                           o_.DetectorSlit, o_.EnergySpread, o_.AngularSpread});
        parser.addPositionalArgument(QStringLiteral("command"),
                                     QStringLiteral("list, lines, focus, scan, render, mass, pattern, identify, import or exercise"));
        parser.addPositionalArgument(QStringLiteral("substance"),
                                     QStringLiteral("The substance's name as listed (pattern: the formula; identify: the file; import: the files)."),
                                     QStringLiteral("[SUBSTANCE|FORMULA|FILE]"));
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
        // --formula stands in for the substance's name.
        const bool byFormula = command.Allowed.count(QStringLiteral("formula")) && parser.isSet(o_.Formula);
        const int expected = byFormula ? 0 : std::abs(command.Substances);
        if (byFormula && positional.size() > 1)
            Fail(kExitUsage, QStringLiteral("%1: give a substance or --formula, not both").arg(name));
        if (positional.size() - 1 < expected)
            Fail(kExitUsage, QStringLiteral("%1: no %2 given%3")
                                 .arg(name, command.Argument,
                                      command.Allowed.count(QStringLiteral("formula")) ? QStringLiteral(" (or --formula FORMULA)")
                                                                                       : QString()));
        if (command.Substances >= 0 && positional.size() - 1 > expected)
            Fail(kExitUsage, QStringLiteral("%1: unexpected argument \"%2\"").arg(name, positional.at(expected + 1)));
        for (const QString& option : parser.optionNames())
            if (!command.Allowed.count(option))
                Fail(kExitUsage, QStringLiteral("%1 does not take --%2").arg(name, option));
        for (const QString& option : command.Required)
            if (!parser.isSet(option))
                Fail(kExitUsage, QStringLiteral("%1 needs --%2").arg(name, option));
        parser_ = &parser;
        byFormula_ = byFormula;
        if (byFormula) {
            formula_ = parser.value(o_.Formula);
            substanceName_ = IsotopePatternName(formula_);
        } else {
            substanceName_ = command.Substances ? positional.at(1) : QString();
        }

        if (name == QLatin1String("list"))
            List();
        else if (name == QLatin1String("lines"))
            Lines();
        else if (name == QLatin1String("focus"))
            Focus();
        else if (name == QLatin1String("scan"))
            Scan();
        else if (name == QLatin1String("render"))
            Render();
        else if (name == QLatin1String("mass"))
            Mass();
        else if (name == QLatin1String("identify"))
            Identify();
        else if (name == QLatin1String("import"))
            Import();
        else if (name == QLatin1String("exercise"))
            Exercise();
        else
            Pattern();
        return 0;
    }

private:
    int Voltage() const { return Checked(ParseVoltage(parser_->value(o_.Voltage))); }
    int Field(const QCommandLineOption& o) const { return Checked(ParseField(parser_->value(o))); }
    int Charge() const { return parser_->isSet(o_.Charge) ? Checked(ParseCharge(parser_->value(o_.Charge))) : 1; }

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

    // The user's library, read once; none with --no-user-library. A file
    // that cannot be read or damaged records in it are a warning, not a
    // failure: the library's substances do not depend on it.
    TUserSpectrumLibrary* UserLibrary()
    {
        if (parser_->isSet(o_.NoUserLibrary))
            return nullptr;
        if (!userLoaded_) {
            userLoaded_ = true;
            QString error;
            if (!user_.Load(&error))
                err_ << "ionpath-cli: warning: " << error << '\n';
        }
        return &user_;
    }

    static std::optional<TSubstance> Load(TSpectrumLibrary& library, const QString& name)
    {
        try {
            return LoadSubstance(library, name);
        } catch (const Exception& e) {
            Fail(kExitFailure, QStringLiteral("the record of \"%1\" is damaged: %2").arg(name, e.Message()));
        }
    }

    TSubstance Substance()
    {
        if (byFormula_) {
            try {
                return SubstanceFromFormula(formula_);
            } catch (const EFormulaError& e) {
                Fail(kExitFailure, QStringLiteral("the formula \"%1\": %2").arg(formula_, e.Message()));
            } catch (const Exception& e) {
                Fail(kExitFailure, e.Message());
            }
        }
        TSpectrumLibrary& library = Library();
        TUserSpectrumLibrary* user = UserLibrary();
        std::optional<TSubstance> s = Load(library, substanceName_);
        if (!s && user)
            s = Load(user->Library(), substanceName_);
        if (!s) {
            QString where = QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(LibraryPath()));
            if (user)
                where += QStringLiteral(" or \"%1\"").arg(QDir::toNativeSeparators(user->Path()));
            Fail(kExitFailure, QStringLiteral("unknown substance \"%1\" in %2 (ionpath-cli list names them)")
                                   .arg(substanceName_, where));
        }
        return *s;
    }

    void List()
    {
        const QStringList names = Library().SubstanceNames();
        std::set<QString> shipped;
        for (const QString& name : names) {
            out_ << name << '\n';
            shipped.insert(LowerCaseAZ(StripBlanks(name)));
        }
        // A user's substance of a listed name is never loaded (the library's
        // is found first), so it is not listed either.
        if (TUserSpectrumLibrary* user = UserLibrary())
            for (const QString& name : user->SubstanceNames())
                if (!shipped.count(LowerCaseAZ(StripBlanks(name))))
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
        const int voltage = Voltage(), field = Field(o_.Field), charge = Charge();
        const TSubstance s = Substance();
        const std::vector<TSpectralLine> lines = LinesAtCharge(s.Lines, charge);
        const TIonPaths model = ComputeIonPathModel(voltage, field, SectorFieldConstant(), lines);
        out_ << "substance: " << s.Name << '\n'
             << "voltage: " << voltage << " V\n"
             << "field: " << FieldText(field) << '\n';
        if (charge > 1)
            out_ << "charge: " << charge << '\n';
        out_ << "F: " << QString::number(model.F, 'f', 4) << '\n'
             << (charge > 1 ? "m/z in focus: " : "mass in focus: ") << QString::number(model.MassInFocus, 'f', 3) << '\n'
             << "display: " << FormatReal(1, 1, model.MassInFocus) << '\n';
        if (const auto stick = StickInFocus(model, lines)) {
            if (charge > 1)
                out_ << "line in focus: m/z " << CsvNumber(stick->Mass) << " (mass "
                     << CsvNumber(s.Lines[size_t(model.Best)].Mass) << ')';
            else
                out_ << "line in focus: mass " << CsvNumber(stick->Mass);
            out_ << ", abundance " << CsvNumber(stick->Abundance) << ", radius "
                 << QString::number(model.Paths[size_t(model.Best)].Radius, 'f', 2) << '\n';
        } else {
            out_ << "line in focus: none\n";
        }
    }

    // The detector and beam the options give; the widths and spreads belong
    // to a slit or a plate, and `command` refuses them with the classic one.
    TInstrumentSettings InstrumentOptions(const QString& command) const
    {
        TInstrumentSettings settings;
        settings.Detector =
            parser_->isSet(o_.Detector) ? Checked(ParseDetector(parser_->value(o_.Detector))) : TDetectorKind::Classic;
        if (settings.Detector == TDetectorKind::Classic) {
            for (const QCommandLineOption* o : {&o_.SourceSlit, &o_.DetectorSlit, &o_.EnergySpread, &o_.AngularSpread})
                if (parser_->isSet(*o))
                    Fail(kExitUsage, QStringLiteral("%1 does not take --%2 with the classic detector (--detector slit or plate does)")
                                         .arg(command, o->names().first()));
            return settings;
        }
        if (parser_->isSet(o_.SourceSlit))
            settings.SourceSlit = Checked(ParseSourceSlit(parser_->value(o_.SourceSlit)));
        if (parser_->isSet(o_.DetectorSlit))
            settings.DetectorSlit = Checked(ParseDetectorSlit(parser_->value(o_.DetectorSlit)));
        if (parser_->isSet(o_.EnergySpread))
            settings.EnergySpread = Checked(ParseEnergySpread(parser_->value(o_.EnergySpread)));
        if (parser_->isSet(o_.AngularSpread))
            settings.AngularSpread = Checked(ParseAngularSpread(parser_->value(o_.AngularSpread)));
        return settings;
    }

    void Scan()
    {
        const int voltage = Voltage();
        const TInstrumentSettings settings = InstrumentOptions(QStringLiteral("scan"));
        if (settings.Detector != TDetectorKind::Classic)
            return ScanInstrument(voltage, settings);
        if (parser_->isSet(o_.Field))
            Fail(kExitUsage, QStringLiteral("scan does not take --field with the classic detector (--detector plate does)"));
        const int from = parser_->isSet(o_.From) ? Field(o_.From) : kFieldMinimum;
        const int charge = Charge();
        const TSubstance s = Substance();
        TFieldScan scan(LinesAtCharge(s.Lines, charge), voltage, from);
        scan.Run();
        const TSpectrumCsvHeader header{s.Name, voltage,
                                        FieldText(from) + QStringLiteral(" to ") + FieldText(kFieldMaximum),
                                        QDateTime::currentDateTime()};
        QString csv = QString::fromUtf8(SpectrumCsv(header, scan.Sticks()));
        if (charge > 1) {
            // The sticks stand at m/z; the table says so.
            const QString row = QStringLiteral("\nmass,abundance\n");
            const qsizetype at = csv.indexOf(row);
            if (at >= 0)
                csv.replace(at, row.size(), QStringLiteral("\n# charge: %1\nm/z,abundance\n").arg(charge));
        }
        out_ << csv;
    }

    // The instrument with real slits and beams (analysis/SectorInstrument.h):
    // the slit's trace over a whole scan, or the plate at one field.
    void ScanInstrument(int voltage, const TInstrumentSettings& settings)
    {
        const bool plate = settings.Detector == TDetectorKind::Plate;
        if (plate && parser_->isSet(o_.From))
            Fail(kExitUsage, QStringLiteral("scan --detector plate does not take --from: the plate records at --field"));
        if (!plate && parser_->isSet(o_.Field))
            Fail(kExitUsage, QStringLiteral("scan does not take --field with the slit (it scans the whole field; "
                                            "--detector plate records at --field)"));
        if (plate && !parser_->isSet(o_.Field))
            Fail(kExitUsage, QStringLiteral("scan --detector plate needs --field"));
        const int field = plate ? Field(o_.Field) : 0;
        const int from = parser_->isSet(o_.From) ? Field(o_.From) : kFieldMinimum;
        const int charge = Charge();
        const TSubstance s = Substance();
        const std::vector<TSpectralLine> lines = LinesAtCharge(s.Lines, charge);
        const TSectorInstrument instrument(settings, voltage, SectorFieldConstant());

        out_ << (plate ? "# Ionpath photographic plate\n" : "# Ionpath detector trace\n")
             << "# substance: " << s.Name << '\n'
             << "# voltage: " << voltage << " V\n"
             << "# field: " << (plate ? FieldText(field) : FieldText(from) + QStringLiteral(" to ") + FieldText(kFieldMaximum))
             << '\n';
        if (charge > 1)
            out_ << "# charge: " << charge << '\n';
        out_ << "# source slit: " << settings.SourceSlit << " mm\n"
             << (plate ? "# reading window: " : "# detector slit: ") << settings.DetectorSlit << " mm\n"
             << "# energy spread: " << settings.EnergySpread << " V\n"
             << "# angular spread: " << settings.AngularSpread << " mrad\n";
        if (plate) {
            // Readings at most half the window apart, and at least one per
            // 0.1 chart unit (a third of a millimetre) of the wall.
            const double step = std::min(0.1, settings.DetectorSlit * kChartUnitsPerMm / 2);
            const int readings = int(std::ceil((kPlateHighY - kPlateLowY) / step)) + 1;
            out_ << "m/z,blackening\n";
            for (const TPlateReading& r : instrument.Plate(lines, field, readings))
                out_ << QString::number(r.Mass, 'g', 8) << ',' << QString::number(r.Blackening, 'f', 4) << '\n';
            return;
        }
        const std::vector<TTraceSample> trace = instrument.Scan(lines, from);
        if (const std::optional<TPeakWidth> peak = StrongestPeakWidth(trace))
            out_ << "# resolving power: " << QString::number(peak->ResolvingPower, 'f', 1) << " (FWHM "
                 << QString::number(peak->Fwhm, 'g', 4) << " at m/z " << QString::number(peak->Mass, 'f', 3) << ")\n";
        else
            out_ << "# resolving power: none (no whole peak)\n";
        out_ << "field,m/z,current\n";
        for (const TTraceSample& t : trace)
            out_ << t.FieldPosition / 10 << '.' << t.FieldPosition % 10 << ',' << QString::number(t.MassInFocus, 'g', 8) << ','
                 << QString::number(t.Current, 'g', 6) << '\n';
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
        const int charge = Charge();
        const TSubstance s = Substance();
        const std::vector<TSpectralLine> lines = LinesAtCharge(s.Lines, charge);
        // The axis as the window sets it, at m/z for the ions' charge.
        const std::optional<double> axisEnd = MassAxisEndAfter(s.LastMass, charge);

        // The charts as the window holds them after its first activation.
        TRChart deflection, spectrum;
        SetUpDeflectionChart(deflection);
        SetUpSpectrumChart(spectrum);
        deflection.SetTransparentFill(true);
        if (axisEnd)
            spectrum.Scale1X()->SetRangeHigh(*axisEnd);
        Translate(deflection, spectrum, charge);

        const double k = SectorFieldConstant();
        const TInstrumentSettings settings = InstrumentOptions(QStringLiteral("render"));
        const TIonPaths model = ComputeIonPathModel(voltage, field, k, lines);
        if (settings.Detector == TDetectorKind::Classic) {
            if (!parser_->isSet(o_.NoScan)) {
                TFieldScan scan(lines, voltage, kFieldMinimum);
                scan.Run();
                for (const TSpectralLine& stick : scan.Sticks())
                    spectrum.AddLine(stick.Mass, 0, stick.Mass, stick.Abundance);
            }
            ShowIonPaths(deflection, model, lines);
            ShowDetector(spectrum, model, lines);
        } else {
            // As the window draws them: the beams, and the slit's trace of a
            // whole scan (a sample per field position) or the plate at B.
            const TSectorInstrument instrument(settings, voltage, k);
            ShowBeams(deflection, instrument, lines, field);
            if (settings.Detector == TDetectorKind::Plate) {
                ShowPlate(spectrum, instrument, lines, field);
            } else if (!parser_->isSet(o_.NoScan)) {
                std::optional<TTraceSample> previous;
                for (const TTraceSample& sample : instrument.Scan(lines, kFieldMinimum)) {
                    AddTraceSample(spectrum, previous, sample);
                    previous = sample;
                }
            }
            spectrum.CrossHair1()->SetPosX(model.MassInFocus);
        }

        try {
            if (!deflectionPath.isEmpty())
                SaveChartPicture(deflection, deflectionPath);
            if (!spectrumPath.isEmpty())
                SaveChartPicture(spectrum, spectrumPath);
        } catch (const Exception& e) {
            Fail(kExitFailure, e.Message());
        }
    }

    // The mean mass as a class works it out: a whole scan from the field's
    // minimum, the recorded lines, their abundance-weighted mean.
    void Mass()
    {
        const int voltage = Voltage(), charge = Charge();
        const TSubstance s = Substance();
        const std::vector<TSpectralLine> lines = LinesAtCharge(s.Lines, charge);
        TFieldScan scan(lines, voltage, kFieldMinimum);
        scan.Run();
        const TSubstanceMeanMass m = MeanMassOf(s.Name, scan.Sticks(), charge);

        std::set<double> all, recorded;
        for (const TSpectralLine& l : lines)
            all.insert(l.Mass);
        for (const TSpectralLine& l : scan.Sticks())
            recorded.insert(l.Mass);
        out_ << "substance: " << s.Name << '\n' << "voltage: " << voltage << " V\n";
        if (charge > 1)
            out_ << "charge: " << charge << '\n';
        out_ << "lines recorded: " << m.Mean.Rows.size() << " of " << all.size() << '\n'
             << (charge > 1 ? "m/z," : "") << "mass,exact mass,abundance,share %\n";
        for (const TMeanMassRow& row : m.Mean.Rows) {
            if (charge > 1)
                out_ << CsvNumber(row.RecordedMass / charge) << ',';
            out_ << CsvNumber(row.RecordedMass) << ',' << QString::number(row.Mass, 'f', 6) << ','
                 << CsvNumber(row.Abundance) << ',' << QString::number(row.Share, 'f', 2) << '\n';
        }
        // Two decimals: the recorded abundances carry three or four digits.
        if (m.Mean.Rows.empty())
            out_ << "mean mass: none (no line reached the detector)\n";
        else
            out_ << "mean mass: " << QString::number(m.Mean.Mean, 'f', 2) << '\n';
        if (m.StandardWeight)
            out_ << (m.Element ? "standard atomic weight: " : "standard molecular weight: ")
                 << QString::number(*m.StandardWeight, 'f', 3) << '\n';

        // Lines beyond what the largest field focuses at this voltage. The
        // mass in focus at a fixed field goes as 1/U (r = sqrt(2 U m / z e) / B),
        // so m/z M reaches the detector up to U = U0 * M0 / M.
        const double k = SectorFieldConstant();
        const double largest = ReachableMasses(voltage, k).High;
        std::vector<double> missing;
        for (const double mz : MassesOutOfReach(lines, voltage, k))
            if (!recorded.count(mz))
                missing.push_back(mz);
        if (missing.empty())
            return;
        const double top = missing.back();
        const std::optional<int> highest = HighestVoltageReaching(top, k);
        err_ << "ionpath-cli: warning: " << missing.size() << " of " << all.size() << " lines (m/z "
             << CsvNumber(missing.front()) << " to " << CsvNumber(top) << ") cannot reach the detector at " << voltage
             << " V: at 500 mT the field focuses m/z up to " << QString::number(largest, 'f', 1) << " there. ";
        if (highest)
            err_ << "They would at " << *highest << " V or below.";
        else
            err_ << "No voltage from " << kVoltageMinimum << " V up brings them there.";
        if (!m.Mean.Rows.empty())
            err_ << " The mean mass is that of the recorded lines only.";
        err_ << '\n';
    }

    // The recorded spectrum in the file against every substance of both
    // libraries (LibrarySearch.h: the composite match factor).
    void Identify()
    {
        const QString& path = substanceName_;
        const QString shown = QDir::toNativeSeparators(path);
        const QFileInfo info(path);
        if (!info.isFile())
            Fail(kExitFailure, info.exists() ? QStringLiteral("\"%1\" is not a file").arg(shown)
                                             : QStringLiteral("\"%1\" does not exist").arg(shown));
        if (info.size() > TSpectrumLibrary::kMaxFileSize)
            Fail(kExitFailure, QStringLiteral("\"%1\" is too large for a spectrum").arg(shown));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            Fail(kExitFailure, QStringLiteral("cannot read \"%1\": %2").arg(shown, file.errorString()));
        const auto read = ReadSpectrumCsv(file.readAll());
        if (const auto* fault = std::get_if<TSpectrumCsvFault>(&read))
            Fail(kExitFailure, fault->Line > 0 ? QStringLiteral("%1, line %2: %3").arg(shown).arg(fault->Line).arg(fault->Reason)
                                               : QStringLiteral("%1: %2").arg(shown, fault->Reason));

        const TLibrarySearch search(ReadLibrarySpectra(Library(), UserLibrary()));
        const std::vector<TSearchCandidate> found = search.Search(std::get<std::vector<TSpectralLine>>(read));
        out_ << "rank,name,score\n";
        for (size_t i = 0; i < found.size(); ++i)
            out_ << i + 1 << ',' << CsvField(search.Library()[size_t(found[i].Index)].Name) << ','
                 << qRound(found[i].Score) << '\n';
        if (found.empty())
            err_ << "ionpath-cli: warning: no substance of the libraries shares a mass with the spectrum in " << shown
                 << '\n';
    }

    // A CSV field: in double quotes, doubled inside, where it holds a comma,
    // a quote or a line break (a user's substance may be named so).
    static QString CsvField(QString text)
    {
        if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
            return text;
        text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return u'"' + text + u'"';
    }

    // The files' spectra into the user's library (SpectrumFileImport.h).
    void Import()
    {
        if (parser_->isSet(o_.NoUserLibrary))
            Fail(kExitUsage, QStringLiteral("import adds to the user's own library, which --no-user-library leaves out"));
        TUserSpectrumLibrary library;
        const TImportReport report = ImportSpectrumFiles(library, parser_->positionalArguments().mid(1));
        for (const QString& line : report.Lines)
            out_ << line << '\n';
        const QString path = QDir::toNativeSeparators(library.Path());
        if (!report.Written)
            Fail(kExitFailure, QStringLiteral("nothing was imported: the library \"%1\" cannot be written").arg(path));
        out_ << report.Imported << " imported in all into " << path << '\n';
        if (report.FailedFiles > 0)
            Fail(kExitFailure, QStringLiteral("%1 of %2 files could not be read as spectrum files")
                                   .arg(report.FailedFiles)
                                   .arg(report.Lines.size()));
    }

    void Pattern()
    {
        TChemicalFormula formula;
        try {
            formula = ParseChemicalFormula(substanceName_);
        } catch (const EFormulaError& e) {
            Fail(kExitFailure, QStringLiteral("the formula \"%1\": %2").arg(substanceName_, e.Message()));
        }
        const TIsotopePattern pattern = ComputeIsotopePattern(formula);
        out_ << "nominal mass,exact mass,abundance\n";
        for (const TPatternLine& l : pattern.Lines)
            out_ << l.NominalMass << ',' << QString::number(l.ExactMass, 'f', 6) << ',' << CsvNumber(l.Abundance) << '\n';
    }

    // The charts' captions in the program's language, from the program's
    // translation file beside this tool, as the window finds its own.
    // The teacher's key, and the worksheet: the samples are drawn from the
    // shipped library alone, as the window draws them.
    void Exercise()
    {
        const QString sheet = parser_->value(o_.Sheet);
        if (parser_->isSet(o_.Sheet) && ChartFileFormatOf(sheet) != TChartFileFormat::Pdf)
            Fail(kExitUsage, QStringLiteral("\"%1\": the worksheet's name must end in .pdf").arg(sheet));
        const QString seed = parser_->value(o_.Seed);
        if (seed.trimmed().isEmpty())
            Fail(kExitUsage, QStringLiteral("exercise: the seed is empty"));
        TSpectrumLibrary& shipped = Library();
        const TExercise exercise = DrawExercise(shipped.SubstanceNames(), seed);
        out_ << "sample,substance\n";
        for (int i = 0; i < exercise.Substances.size(); ++i)
            out_ << SampleLetter(i) << ',' << CsvField(exercise.Substances.at(i)) << '\n';
        if (sheet.isEmpty())
            return;
        TLexifer2000 lexifer(QStringLiteral("Ionpath"));
        LoadProgramTexts(lexifer);
        try {
            WriteExerciseSheet(exercise, shipped, sheet, [&lexifer](const QString& key, const QStringList& args) {
                return lexifer.Translate(key, args);
            });
        } catch (const Exception& e) {
            Fail(kExitFailure, e.Message());
        }
    }

    // With ions of charge 2 or 3 the spectrum's axis says that it shows m/z,
    // as the window's does.
    // The program's translation file beside this tool, for the user's language.
    static void LoadProgramTexts(TLexifer2000& lexifer)
    {
        const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ionpath"));
        LoadTranslationFile(lexifer, FindTranslationFile(program, QLocale().uiLanguages()));
    }

    static void Translate(TRChart& deflection, TRChart& spectrum, int charge)
    {
        TLexifer2000 lexifer(QStringLiteral("Ionpath"));
        LoadProgramTexts(lexifer);
        lexifer.TranslateForm(&deflection);
        lexifer.TranslateForm(&spectrum);
        ShowMassAxisCharge(spectrum, charge,
                           lexifer.Translate(QStringLiteral("m/z (z = <%1%>)"), {QString::number(charge)}));
    }

    QTextStream& out_;
    QTextStream& err_;
    TOptions o_;
    QCommandLineParser* parser_ = nullptr;
    QString substanceName_;
    bool byFormula_ = false; // --formula names the substance
    QString formula_;
    TSpectrumLibrary library_;
    TUserSpectrumLibrary user_;
    bool userLoaded_ = false;
};

} // namespace

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    try {
        return TCli(out, err).Run(arguments);
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
