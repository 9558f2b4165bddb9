// The reader of MSP text over any bytes, and the same bytes through the
// detection of the format and ReadSpectrumFile.
//
// Rules checked (ImportInvariants.h): whatever the bytes, the reader ends,
// gives spectra of 1 to 500 lines ascending in mass with abundances from
// the 0.5 % cut to 100 and the strongest exactly 100, and refusals that
// name a line of the file and a reason.
#include "ImportInvariants.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckImport(content, ReadMsp(content), TImportFormat::Msp);
    const std::optional<TImportFormat> detected = DetectImportFormat(content, QStringLiteral("probanol.msp"));
    const TImportResult any = ReadSpectrumFile(content, QStringLiteral("probanol.msp"));
    CheckImport(content, any, detected);
    if (!detected)
        FUZZ_CHECK(any.Spectra.empty() && any.Refusals.size() == 1 && any.Refusals[0].Line == 0, QString());
    return 0;
}
