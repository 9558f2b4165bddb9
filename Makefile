# The two commands a fresh machine needs:
#   make run    builds the program and starts it
#   make test   builds the tests (with AddressSanitizer and UndefinedBehaviorSanitizer) and runs them
JOBS ?= $(shell nproc)

.PHONY: run test build bench setup clean package

setup:
	@scripts/setup

build: setup
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DIONPATH_TESTS=OFF
	cmake --build build/release -j $(JOBS)

run: build
	cd build/release/src/app && ./ionpath $(ARGS)

test: setup
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DIONPATH_SANITIZE=ON
	cmake --build build/test -j $(JOBS)
	cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package, built in Release: build/package/ionpath_<version>_<arch>.deb
# (install it with `sudo apt install ./build/package/ionpath_*.deb`).
package: setup
	cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DIONPATH_TESTS=OFF
	cmake --build build/package -j $(JOBS)
	rm -f build/package/ionpath_*.deb
	cd build/package && cpack -G DEB

bench: setup
	JOBS=$(JOBS) bench/run build/bench

clean:
	rm -rf build

# Every fuzz target for FUZZ_SECONDS each (clang, ASan, UBSan, libFuzzer);
# see tests/fuzz/run-fuzzers for one target or a longer run.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz: setup
	JOBS=$(JOBS) tests/fuzz/run-fuzzers -t $(FUZZ_SECONDS)
