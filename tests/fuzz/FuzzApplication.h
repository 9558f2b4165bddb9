#pragma once
// What every fuzz target shares: the one application object (offscreen, so
// fonts, the palette and widgets behave as in the program) and the way a
// broken rule is reported, so that libFuzzer keeps the input that broke it.

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <cstdint>

// Creates the application on the offscreen platform; call it from
// LLVMFuzzerInitialize.
void StartFuzzApplication(int* argc, char*** argv);

// A rule of the code under test did not hold: prints why and aborts, which
// libFuzzer records as a crash with the input.
[[noreturn]] void FuzzFailure(const QString& what);

#define FUZZ_CHECK(condition, what)                                                                 \
    do {                                                                                            \
        if (!(condition))                                                                           \
            FuzzFailure(QStringLiteral("%1:%2: %3 (%4)")                                               \
                            .arg(QString::fromLatin1(__FILE__))                                     \
                            .arg(__LINE__)                                                          \
                            .arg(QString::fromLatin1(#condition), QString(what)));                 \
    } while (false)

// Reals as the fuzzer should try them: mostly the special values and the
// edges of the range, sometimes any bit pattern.
double ConsumeInterestingDouble(FuzzedDataProvider& in);
