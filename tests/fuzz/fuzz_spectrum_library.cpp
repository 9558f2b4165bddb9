// The spectrum library reader over any bytes: the substance list is built,
// then every listed name is loaded, as the substance selector would. One
// load may start another from its line hook (the main window processes
// window messages there, so a selector change can arrive mid-read).
//
// Rules checked: only the conversion error ever leaves a load; a load stores
// at most 500 pairs; a finished load leaves exactly its pairs in the matrix,
// ordered by ascending abundance; a load that found nothing leaves 500 rows;
// a load overtaken by a newer one says so and leaves the newer one's result.
#include "FuzzApplication.h"

#include "app/SpectrumLibrary.h"
#include "support/ConvertError.h"
#include "support/Matrix.h"

#include <algorithm>
#include <exception>

namespace {

constexpr int kMaxLoadsPerInput = 200;

void CheckFinishedLoad(const TSpectrumLoad& load, const TMatrix& matrix, int lineCount)
{
    FUZZ_CHECK(lineCount >= 0 && lineCount <= TSpectrumLibrary::kMaxLines, QString::number(lineCount));
    FUZZ_CHECK(load.LineCount == lineCount, QString::number(load.LineCount));
    if (!load.Found) {
        FUZZ_CHECK(lineCount == 0, QString::number(lineCount));
        FUZZ_CHECK(matrix.NrOfRows() == TSpectrumLibrary::kMaxLines, QString::number(matrix.NrOfRows()));
        return;
    }
    FUZZ_CHECK(matrix.NrOfRows() == std::max(lineCount, 1), QString::number(matrix.NrOfRows()));
    for (int r = 2; r <= lineCount; ++r) {
        // NaN never compares, so the sort cannot order it; the reader refuses
        // "nan" anyway, so no such cell can be here.
        FUZZ_CHECK(!(matrix.Cell(2, r - 1) > matrix.Cell(2, r)), QStringLiteral("row %1").arg(r));
    }
    if (load.LineCount > 0)
        FUZZ_CHECK(load.LastMass.has_value(), QString());
}

// Runs one load; false when it failed with the conversion error.
bool Load(TSpectrumLibrary& library, const QString& name, TMatrix& matrix, TSpectrumLoad& load)
{
    try {
        load = library.LoadSpectrum(name, matrix);
        return true;
    } catch (const EConvertError& e) {
        FUZZ_CHECK(!e.Message().isEmpty(), QString());
        FUZZ_CHECK(library.LineCount() <= TSpectrumLibrary::kMaxLines, QString::number(library.LineCount()));
        FUZZ_CHECK(matrix.NrOfRows() == TSpectrumLibrary::kMaxLines, QString::number(matrix.NrOfRows()));
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose when, during the first load, a nested load
    // of another name starts (0: never).
    const int nestAtLine = data[0];
    const int nestedIndex = data[1];
    TSpectrumLibrary library;
    library.SetContent(QByteArray(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2)));

    const QStringList names = library.SubstanceNames();
    TMatrix matrix;
    matrix.SetNrOfColumns(2);

    for (int i = 0; i < names.size() && i < kMaxLoadsPerInput; ++i) {
        int linesRead = 0;
        bool nestedRan = false;
        bool nestedOk = false;
        TSpectrumLoad nested;
        if (i == 0 && nestAtLine > 0 && !names.isEmpty()) {
            library.OnLineRead = [&] {
                if (++linesRead != nestAtLine || nestedRan)
                    return;
                nestedRan = true;
                nestedOk = Load(library, names[nestedIndex % names.size()], matrix, nested);
            };
        }
        TSpectrumLoad load;
        const bool ok = Load(library, names[i], matrix, load);
        library.OnLineRead = nullptr;
        if (nestedRan) {
            // The outer load gave way: it returned at once (or its error came
            // before the nested load could start, which it cannot: the hook
            // runs after a line was read and before it is parsed).
            FUZZ_CHECK(ok && load.Superseded, names[i]);
            if (nestedOk)
                CheckFinishedLoad(nested, matrix, library.LineCount());
            continue;
        }
        if (ok) {
            FUZZ_CHECK(!load.Superseded, names[i]);
            CheckFinishedLoad(load, matrix, library.LineCount());
        }
    }
    return 0;
}
