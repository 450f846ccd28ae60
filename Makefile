# The two commands users need: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
PORTABLE_BUILD ?= build-portable
PACKAGE_BUILD ?= build-deb
WINDOWS_BUILD ?= build-windows
WINDOWS_APP_BUILD ?= build-windows-app
FUZZ_SECONDS ?= 60
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

.PHONY: all bootstrap configure build test run check package portable windows-test windows-app sanitize fuzz fuzz-run bench format clean

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/build.ninja: | bootstrap
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: bootstrap $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	$(BUILD)/bin/baldo7

# The tree's own rules before anything is built: the layers, the format, cppcheck.
check:
	scripts/bootstrap
	scripts/check-layers
	scripts/check-style

# The Debian package (build-deb/baldo7_<version>_<arch>.deb), built in a tree of its own
# with Debian's hardening flags and checked after it is built.
package: bootstrap
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBALDO7_HARDEN=ON
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	rm -f $(PACKAGE_BUILD)/baldo7_*.deb
	cd $(PACKAGE_BUILD) && cpack -G DEB
	packaging/check-deb $(PACKAGE_BUILD)

# The build without the POSIX-only parts (as on Windows) and its tests, here on Linux:
# POSIX code outside the fenced files fails to build or link.
portable: bootstrap
	scripts/check-portable
	cmake -S . -B $(PORTABLE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DBALDO7_PORTABLE=ON
	cmake --build $(PORTABLE_BUILD) -j $(JOBS)
	cd $(PORTABLE_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The units without Qt and their tests as Windows programs: cross-compiled with
# MinGW-w64 and run under wine (its prefix inside the build directory).
windows-test:
	scripts/bootstrap windows
	cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)

# The program for Windows: Qt for Windows built from Debian's source once (cached in
# ~/.cache/baldo7, BALDO7_QT_WINDOWS overrides), the programs and test suites
# cross-built and run under wine, build-windows-app/BALDO-7/ with every DLL, the NSIS
# setup.exe, and the programs, the COM port and the installer checked under wine.
windows-app:
	scripts/bootstrap windows-app
	BUILD=$(BUILD) WINDOWS_APP_BUILD=$(WINDOWS_APP_BUILD) JOBS=$(JOBS) scripts/windows-app

# AddressSanitizer + UndefinedBehaviorSanitizer build of the pure and link tests.
sanitize: bootstrap
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBALDO7_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target sanitized_tests
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -L pure

# libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) in fuzz/.
fuzz: bootstrap
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DBALDO7_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

# Runs each target for FUZZ_SECONDS, starting from the inputs kept in fuzz/corpus; a finding fails.
fuzz-run: fuzz
	fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(PORTABLE_BUILD) $(WINDOWS_BUILD) $(WINDOWS_APP_BUILD)
