# Initial cache of the fuzzing build (cmake -C): the whole project compiled
# by clang with AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer's
# coverage instrumentation, and of the tests only the fuzz targets.
#
#   cmake -C tests/fuzz/FuzzBuild.cmake -S . -B build/fuzz -G Ninja
#   cmake --build build/fuzz --target fuzz_all
#
# tests/fuzz/run-fuzzers does both and runs every target.
set(CMAKE_C_COMPILER clang CACHE STRING "")
set(CMAKE_CXX_COMPILER clang++ CACHE STRING "")
set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "")
set(IONPATH_FUZZ ON CACHE BOOL "Build the libFuzzer targets")
set(IONPATH_SANITIZE OFF CACHE BOOL "")
set(IONPATH_TEST_SUBSYSTEMS "fuzz" CACHE STRING "")
# Every finding stops the run: no sanitizer recovers.
set(CMAKE_CXX_FLAGS "-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer" CACHE STRING "")
set(CMAKE_EXE_LINKER_FLAGS "-fsanitize=address,undefined" CACHE STRING "")
