# The two commands of the README are the contract: `make run` and `make test` set up a fresh
# Debian 12 machine as needed, build, and run the program or every test.
SHELL := /bin/bash
ROOT := $(CURDIR)
CTEST_ARGS ?=

.PHONY: all setup build build-native build-tsan build-windows test test-native test-tsan \
        test-windows run dist bench fuzz soak format format-check clean

all: build

setup:
	@tools/setup.sh

build-native: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native

build-tsan: setup
	@cmake --preset native-tsan >/dev/null
	@cmake --build --preset native-tsan

build-windows: setup
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows

build: build-native build-tsan build-windows

# The set-up runs first; then every suite runs even when an earlier one failed, and the exit
# status reports any failure. The output ends with each step's time and the ctest summaries.
test:
	@tools/run-tests.sh $(CTEST_ARGS)

test-native: build-native
	@ctest --preset native $(CTEST_ARGS)

test-tsan: build-tsan
	@ctest --preset native-tsan $(CTEST_ARGS)

test-windows: build-windows
	@tools/run-wine-tests.sh $(CTEST_ARGS)

run: build-windows
	@tools/run-program.sh

# The installer and the portable zip of the Windows build, in build/dist.
dist: build-windows
	@tools/make-dist.sh

# The native benchmarks and the sector view's paint under Wine; results in build/bench.
bench: setup
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench --target benchmarks
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target sector_paint_winbench wine_desktop_holder
	@tools/run-bench.sh

# libFuzzer harnesses of the file readers, FUZZ_SECONDS (default 300) each; results in build/fuzz.
fuzz:
	@tools/run-fuzz.sh

# The program under load for SOAK_MINUTES (default 10); results in build/soak. Not in make test.
soak: build-windows
	@cmake --build --preset windows --target soak_tests
	@tools/run-soak.sh

format:
	@tools/format.sh --fix

format-check:
	@tools/format.sh --check

clean:
	rm -rf build/native build/native-tsan build/windows build/bench build/fuzz build/dist
