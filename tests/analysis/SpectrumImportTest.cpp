// The readers of MassBank, MSP and JCAMP-DX files: the spectrum each gives
// of one hand-written record, the refusals with their lines and reasons,
// and the cut from listed pairs to the lines the library keeps.
#include "analysis/SpectrumImport.h"

#include "ImportSamples.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace import_samples;

namespace {

void ExpectLines(const std::vector<TSpectralLine>& lines, const std::vector<TSpectralLine>& expected)
{
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_DOUBLE_EQ(lines[i].Mass, expected[i].Mass) << i;
        EXPECT_DOUBLE_EQ(lines[i].Abundance, expected[i].Abundance) << i;
    }
}

QString Refusals(const TImportResult& r)
{
    QStringList texts;
    for (const TImportRefusal& refusal : r.Refusals)
        texts << ImportRefusalText(refusal);
    return texts.join(QStringLiteral(" | "));
}

} // namespace

TEST(SpectrumImport, EachFormatReadsItsRecord)
{
    struct Case {
        QByteArray Content;
        const char* File;
        TImportFormat Format;
        const char* Authors;
        const char* Licence;
        const char* Accession;
        int PairsRead;
    } cases[] = {
        {kMassBank, "probanol.txt", TImportFormat::MassBank, "Doe J, Roe R, Teaching Lab", "CC BY-SA", "XY012345", 13},
        {kMsp, "probanol.msp", TImportFormat::Msp, "", "", "XY012345", 15},
        {kJcamp, "probanol.jdx", TImportFormat::JcampDx, "Teaching Lab, owner Doe J", "", "", 36},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        EXPECT_EQ(DetectImportFormat(c.Content, QString::fromLatin1(c.File)), c.Format);
        const TImportResult r = ReadSpectrumFile(c.Content, QString::fromLatin1(c.File));
        EXPECT_TRUE(r.Refusals.empty()) << Refusals(r).toStdString();
        ASSERT_EQ(r.Spectra.size(), 1u);
        const TImportedSpectrum& s = r.Spectra[0];
        EXPECT_EQ(s.Format, c.Format);
        EXPECT_EQ(s.Name, QStringLiteral("Probanol")); // MassBank: the first CH$NAME
        EXPECT_EQ(s.Formula, QStringLiteral("C2H6O"));
        EXPECT_EQ(s.Authors, QString::fromLatin1(c.Authors));
        EXPECT_EQ(s.Licence, QString::fromLatin1(c.Licence));
        EXPECT_EQ(s.Accession, QString::fromLatin1(c.Accession));
        EXPECT_EQ(s.FirstLine, 1);
        EXPECT_EQ(s.PairsRead, c.PairsRead);
        ExpectLines(s.Lines, kProbanolLines);
    }
}

TEST(SpectrumImport, ValuesPlainAndCompressedWithFactors)
{
    // The same four points in AFFN, PAC and SQZ/DUP, X in tenths of m/z
    // (XFACTOR 0.1), Y halved (YFACTOR 0.5): 20.0 -> 40, 20.5 -> 0,
    // 21.0 -> 0, 21.5 -> 400; and as a peak table with XYW triples.
    const QByteArray head = "##TITLE=T\n##DATA TYPE=CONTINUOUS MASS SPECTRUM\n##XFACTOR=0.1\n##YFACTOR=0.5\n"
                            "##FIRSTX=20\n##LASTX=21.5\n";
    const QByteArray tables[] = {
        "##NPOINTS=4\n##XYDATA=(X++(Y..Y))\n200 80 0\n210 0 800\n",
        "##NPOINTS=4\n##XYDATA=(X ++ (Y..Y))\n200+80+0\n210+0+800\n",
        "##NPOINTS=4\n##XYDATA=(X++(Y..Y))\n200H0@T\n215H00\n",
        "##NPOINTS=2\n##PEAK TABLE=(XYW..XYW)\n200,80,1 215,800,1\n",
    };
    for (const QByteArray& table : tables) {
        SCOPED_TRACE(table.toStdString());
        const TImportResult r = ReadJcampDx(head + table + "##END=\n");
        ASSERT_EQ(r.Spectra.size(), 1u) << Refusals(r).toStdString();
        ExpectLines(r.Spectra[0].Lines, {{20.0, 10}, {21.5, 100}});
    }
}

TEST(SpectrumImport, RefusalsSayWhereAndWhy)
{
    const QByteArray massBankHead = "ACCESSION: XY1\nCH$NAME: Bad\nAC$MASS_SPECTROMETRY: MS_TYPE MS\n";
    const QByteArray mspHead = "Name: Bad\n";
    const QByteArray jcampHead = "##TITLE=Bad\n##DATA TYPE=MASS SPECTRUM\n##FIRSTX=1\n##LASTX=4\n##NPOINTS=4\n";
    struct Case {
        TImportResult (*Read)(const QByteArray&);
        QByteArray Content;
        const char* Expected;
    } cases[] = {
        {ReadMassBank, massBankHead + "PK$NUM_PEAK: 2\nPK$PEAK: m/z int. rel.int.\n  14 20 20\n  15 3l 3\n//\n",
         "line 7: \"3l\" is not a number"},
        {ReadMassBank, massBankHead + "PK$NUM_PEAK: 0\nPK$PEAK: N/A\n//\n", "line 1: \"Bad\": no peak list"},
        {ReadMassBank, "ACCESSION: XY2\nCH$NAME: Bad\nAC$MASS_SPECTROMETRY: MS_TYPE MS2\nPK$PEAK: m/z int. rel.int.\n  14 1 1\n//\n",
         "line 1: \"Bad\": not a mass spectrum of the molecule (MS_TYPE MS2)"},
        {ReadMassBank, massBankHead + "PK$NUM_PEAK: 3\nPK$PEAK: m/z int. rel.int.\n  14 20 20\n  15 3 3\n//\n",
         "line 4: \"Bad\": PK$NUM_PEAK says 3, the peak list holds 2"},
        {ReadMassBank, "ACCESSION: XY3\nPK$PEAK: m/z int. rel.int.\n  14 1 1\n//\n", "line 1: a record without a name (CH$NAME)"},
        {ReadMsp, mspHead + "Num Peaks: 2\n14 20\n15 abc\n", "line 4: \"abc\" is not a number"},
        {ReadMsp, mspHead + "Formula: C\n14 20\n", "line 1: \"Bad\": no peak list (no \"Num Peaks:\")"},
        {ReadMsp, mspHead + "Num Peaks: 0\n", "line 1: \"Bad\": no peak list"},
        {ReadMsp, mspHead + "Num Peaks: 3\n14 20; 15 3\n", "line 2: \"Bad\": Num Peaks says 3, the list holds 2 pairs"},
        {ReadMsp, mspHead + "Num Peaks: 2\n14 20; 15\n", "line 3: \"Bad\": the last mass has no intensity"},
        {ReadMsp, mspHead + "Spectrum_type: MS2\nNum Peaks: 1\n14 20\n",
         "line 1: \"Bad\": not a mass spectrum of the molecule (Spectrum_type MS2)"},
        {ReadMsp, mspHead + "Num Peaks: 1\n14 0\n", "line 1: \"Bad\": no peak has an intensity above 0"},
        {ReadMsp, mspHead + "Num Peaks: 1\n-14 20\n", "line 1: \"Bad\": the mass -14 is below 0"},
        {ReadJcampDx, "##TITLE=Bad\n##DATA TYPE=INFRARED SPECTRUM\n##PEAK TABLE=(XY..XY)\n1,2\n##END=\n",
         "line 2: \"Bad\": not a mass spectrum (##DATA TYPE=INFRARED SPECTRUM)"},
        {ReadJcampDx, "##TITLE=Bad\n##PEAK TABLE=(XY..XY)\n1,2\n##END=\n", "line 1: \"Bad\": not a mass spectrum (no ##DATA TYPE)"},
        {ReadJcampDx, "##TITLE=Bad\n##DATA TYPE=MASS SPECTRUM\n##END=\n",
         "line 1: \"Bad\": no peak list (##PEAK TABLE or ##XYDATA)"},
        {ReadJcampDx, "##TITLE=Bad\n##DATA TYPE=MASS SPECTRUM\n##PEAK TABLE=(XY..XY)\n1,2 3,x4\n##END=\n",
         "line 4: \"x4\" is not a number"},
        // Line 7 ends in DIF form at 11; line 8 begins with 13.
        {ReadJcampDx, jcampHead + "##XYDATA=(X++(Y..Y))\n1A0J\n2A3J\n4A4\n##END=\n",
         "line 8: the DIF Y-check fails: the line begins with 13, the line before ended with 11"},
        {ReadJcampDx, jcampHead + "##XYDATA=(X++(Y..Y))\n1A0J\n3A1J\n4A2\n##END=\n",
         "line 8: the X value 3 should be 2 (point 2 from ##FIRSTX to ##LASTX)"},
        {ReadJcampDx, jcampHead + "##XYDATA=(X++(Y..Y))\n1A0A1A2\n##END=\n", "line 6: \"Bad\": ##NPOINTS says 4, the data hold 3 points"},
        // A DUP count far beyond the table is refused before it unfolds.
        {ReadJcampDx, jcampHead + "##XYDATA=(X++(Y..Y))\n1A0S99999999999\n##END=\n",
         "line 7: \"Bad\": the data hold more than the 4 points of ##NPOINTS"},
        {ReadJcampDx, "##TITLE=Bad\n##DATA TYPE=MASS SPECTRUM\n##FIRSTX=1\n##LASTX=2\n##NPOINTS=1E9\n##XYDATA=(X++(Y..Y))\n1 1\n##END=\n",
         "line 5: \"Bad\": ##NPOINTS=1000000000 is more than the 1000000 points read of a table"},
        {ReadJcampDx, jcampHead + "##XYDATA=(X++(Y..Y))\n1 5 ? 6 7\n##END=\n", "line 7: \"?\" (a value not known) cannot be read"},
        {ReadMsp, "", "no MSP record in the file"},
        {ReadMassBank, "\n\n", "no MassBank record in the file"},
        {ReadJcampDx, "##JCAMP-DX=5.00\n", "no JCAMP-DX block (##TITLE= ... ##END=) in the file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Content.toStdString());
        const TImportResult r = c.Read(c.Content);
        EXPECT_TRUE(r.Spectra.empty());
        EXPECT_EQ(Refusals(r), QString::fromUtf8(c.Expected));
    }
    const TImportResult empty = ReadSpectrumFile(" \r\n", QStringLiteral("x.msp"));
    EXPECT_EQ(Refusals(empty), QStringLiteral("the file is empty"));
    const TImportResult other = ReadSpectrumFile("mass,abundance\n14,20\n", QStringLiteral("x.csv"));
    EXPECT_TRUE(Refusals(other).startsWith(QStringLiteral("not a spectrum file this program reads")));
}

TEST(SpectrumImport, ARefusedRecordCostsNoOther)
{
    // Records end at a blank line or at the next "Name:"; CR LF, CR and LF
    // all end lines; field names in any case.
    const QByteArray msp = "Header text of the collection\r\n\r\n"
                           "NAME: First\r\nnum peaks: 1\r\n14 20\r\n"
                           "Name: Broken\r\nNum Peaks: 1\r\n14 2O\r\n\r\n"
                           "name: Third\rNUM_PEAKS: 2\r15 5\n16 10\n";
    const TImportResult r = ReadMsp(msp);
    ASSERT_EQ(r.Spectra.size(), 2u);
    EXPECT_EQ(r.Spectra[0].Name, QStringLiteral("First"));
    EXPECT_EQ(r.Spectra[0].FirstLine, 3);
    EXPECT_EQ(r.Spectra[1].Name, QStringLiteral("Third"));
    EXPECT_EQ(r.Spectra[1].FirstLine, 10);
    ExpectLines(r.Spectra[1].Lines, {{15, 50}, {16, 100}});
    EXPECT_EQ(Refusals(r), QStringLiteral("line 8: \"2O\" is not a number"));

    // Two MassBank records in one file, the second of an MS2 spectrum.
    const QByteArray massBank = kMassBank + "\nACCESSION: XY2\nCH$NAME: Fragment\nAC$MASS_SPECTROMETRY: MS_TYPE MS2\n"
                                            "PK$PEAK: m/z int. rel.int.\n  14 1 1\n//\n";
    const TImportResult m = ReadMassBank(massBank);
    ASSERT_EQ(m.Spectra.size(), 1u);
    ASSERT_EQ(m.Refusals.size(), 1u);
    EXPECT_EQ(m.Refusals[0].Line, 34);
}

TEST(SpectrumImport, JcampLinkBlocksGiveTheirInnerSpectra)
{
    const QByteArray link = "##TITLE=Collection\n##JCAMP-DX=5.00\n##DATA TYPE=LINK\n##BLOCKS=3\n"
                            "##TITLE=Alpha\n##DATA TYPE=MASS SPECTRUM\n##PEAK TABLE=(XY..XY)\n10,5 11,10\n##END=\n"
                            "##TITLE=Beta\n##DATA TYPE=MASS SPECTRUM\n##PEAKTABLE=(XY..XY)\n20,1;21,4\n##END=\n"
                            "##TITLE=Notes\n##DATA TYPE=MASS SPECTRUM\n##END=\n"
                            "##END=\n";
    const TImportResult r = ReadJcampDx(link);
    ASSERT_EQ(r.Spectra.size(), 2u);
    EXPECT_EQ(r.Spectra[0].Name, QStringLiteral("Alpha"));
    EXPECT_EQ(r.Spectra[0].FirstLine, 5);
    EXPECT_EQ(r.Spectra[1].Name, QStringLiteral("Beta"));
    ExpectLines(r.Spectra[1].Lines, {{20, 25}, {21, 100}});
    EXPECT_EQ(Refusals(r), QStringLiteral("line 15: \"Notes\": no peak list (##PEAK TABLE or ##XYDATA)"));
}

TEST(SpectrumImport, LinesAreCutToWhatTheLibraryKeeps)
{
    // 600 pairs of intensities 1001 to 1600 in a shuffled order, one mass
    // twice (the stronger counts), one at 0.49 % and one at 0.5 % of the
    // strongest: the 500 strongest remain, by ascending mass.
    QByteArray msp = "Name: Many\nNum Peaks: 603\n";
    for (int k = 0; k < 600; ++k) {
        const int i = (k * 7) % 600; // every i once
        msp += QByteArray::number(100 + i) + ' ' + QByteArray::number(1001 + i) + '\n';
    }
    msp += "100 1600\n"       // m/z 100 again, now the strongest line
           "50 7.84\n"        // 0.49 % of 1600
           "51 8\n";          // 0.5 %
    const TImportResult r = ReadMsp(msp);
    ASSERT_EQ(r.Spectra.size(), 1u) << Refusals(r).toStdString();
    const std::vector<TSpectralLine>& lines = r.Spectra[0].Lines;
    EXPECT_EQ(r.Spectra[0].PairsRead, 603);
    ASSERT_EQ(lines.size(), size_t(kMaxImportedLines));
    // m/z 100 (now 1600) and m/z 201 to 699 (1102 to 1600) are the 500
    // strongest; m/z 101 to 200 (1002 to 1101) go, and so do 50 and 51.
    EXPECT_EQ(lines.front().Mass, 100);
    EXPECT_EQ(lines.front().Abundance, 100);
    EXPECT_EQ(lines[1].Mass, 201);
    EXPECT_DOUBLE_EQ(lines[1].Abundance, 1102.0 / 1600 * 100);
    EXPECT_EQ(lines.back().Mass, 699);
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_LT(lines[i - 1].Mass, lines[i].Mass);

    const TImportResult cut = ReadMsp("Name: Cut\nNum Peaks: 3\n50 7.84\n51 8\n52 1600\n");
    ASSERT_EQ(cut.Spectra.size(), 1u);
    ExpectLines(cut.Spectra[0].Lines, {{51, 0.5}, {52, 100}});
}

TEST(SpectrumImport, FormatsByContentWithTheExtensionAsHint)
{
    struct Case {
        QByteArray Content;
        const char* File;
        std::optional<TImportFormat> Expected;
    } cases[] = {
        {kMsp, "probanol.txt", TImportFormat::Msp},
        {kMassBank, "probanol.msp", TImportFormat::MassBank},
        {"\xEF\xBB\xBF##title= X\n", "x", TImportFormat::JcampDx},
        {"CH$NAME: X\n", "x.dat", TImportFormat::MassBank},
        // Both marks: the extension decides, else the first mark.
        {"Name: X\n##TITLE=Y\n", "x.jdx", TImportFormat::JcampDx},
        {"Name: X\n##TITLE=Y\n", "x.dat", TImportFormat::Msp},
        {"##TITLES=X\nNAMES: Y\n", "x.jdx", std::nullopt},
        {"", "x.msp", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetectImportFormat(c.Content, QString::fromLatin1(c.File)), c.Expected) << c.Content.toStdString();
}

TEST(SpectrumImport, TextInUtf8OrWindows1252)
{
    const TImportResult utf8 = ReadMsp("Name: \xC3\x84thanol\nNum Peaks: 1\n14 1\n");
    const TImportResult latin = ReadMsp("Name: \xC4thanol\nNum Peaks: 1\n14 1\n");
    ASSERT_EQ(utf8.Spectra.size(), 1u);
    ASSERT_EQ(latin.Spectra.size(), 1u);
    EXPECT_EQ(utf8.Spectra[0].Name, QStringLiteral("\u00C4thanol"));
    EXPECT_EQ(latin.Spectra[0].Name, QStringLiteral("\u00C4thanol"));
}
