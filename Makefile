# A thin driver over CMake. The commands that matter:
#   make demo   installs what is missing, builds, and runs the demo medium in examples/demo
#   make test   installs what is missing, builds every configuration and runs every test tier
#   make dist   builds the release trees and the tools, and writes one package per platform
#               (win32, win64, linux-x86_64) to build/dist with CPack (docs/packages.md)
#   make unit   builds build/native alone and runs its tests (the native tier of make test)
#   make e2e NAME=welcome   builds what the scenarios need in build/win64 and runs the one
#               end-to-end scenario tests/e2e/NAME.scenario under Wine
#   make fuzz   runs every fuzz target for FUZZ_SECONDS (default 60) each, corpus in build/fuzz-work
#   make bench  builds, then measures installation speed, script size and memory (bench/README.md)
JOBS ?= 2
NATIVE := build/native
WIN64  := build/win64
RELEASE64 := build/release-win64
RELEASE32 := build/release-win32
FUZZ   := build/fuzz
TOOLS  := build/tools
DIST   := build/dist
WITH_WINE := tests/wine/with-wine
FUZZ_SECONDS ?= 60
# Every tests/fuzz/NAME_fuzz.cpp is a fuzz target named NAME (the fuzz build makes the same list).
FUZZ_TARGETS := $(patsubst tests/fuzz/%_fuzz.cpp,%,$(sort $(wildcard tests/fuzz/*_fuzz.cpp)))

.PHONY: all demo test unit e2e bench deps build native win64 release tools dist fuzz-build fuzz clean

all: build

deps:
	@tools/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

# What ships: Setup.exe, QSUninstall.exe, qscheck.exe and qsmedia.exe, optimised for size and
# stripped, for both targets. The end-to-end tests and the demo run the x86_64 programs; the i686
# ones are checked without running them (these machines execute no 32-bit code).
RELEASE_OPTIONS = -DCMAKE_BUILD_TYPE=MinSizeRel -DQUILLSET_RELEASE=ON -DQUILLSET_DIST_DIRECTORY=$(CURDIR)/$(DIST)
release: deps
	@cmake -S . -B $(RELEASE64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake $(RELEASE_OPTIONS) >/dev/null
	@cmake --build $(RELEASE64) -j$(JOBS)
	@cmake -S . -B $(RELEASE32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(RELEASE_OPTIONS) >/dev/null
	@cmake --build $(RELEASE32) -j$(JOBS)

# The Windows-side tests: the test build of the Win32 layer, the robot and its payload. The
# Windows-side tests compare qscheck.exe with the native qscheck, hence the native build first;
# the end-to-end tests run the release programs; the package tests unpack what make dist wrote.
WIN64_CONFIGURE = cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLSET_NATIVE_BUILD=$(CURDIR)/$(NATIVE) \
	    -DQUILLSET_SHIPPED_PROGRAMS=$(CURDIR)/$(RELEASE64) -DQUILLSET_SHIPPED_PROGRAMS_32=$(CURDIR)/$(RELEASE32) \
	    -DQUILLSET_DIST_DIRECTORY=$(CURDIR)/$(DIST) >/dev/null

win64: deps native release
	@$(WIN64_CONFIGURE)
	@cmake --build $(WIN64) -j$(JOBS)

# The fuzz targets: clang with libFuzzer, AddressSanitizer and UBSan, in a build of their own.
fuzz-build: deps
	@cmake -S . -B $(FUZZ) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUILLSET_FUZZ=ON \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ) -j$(JOBS)

# The tools for script authors, optimised and without the sanitizers of the test build. Their
# package also carries the i686 release build's Setup.exe and QSUninstall.exe, and qsrun with the
# x86_64 release build's driver.
tools: deps
	@cmake -S . -B $(TOOLS) -DCMAKE_BUILD_TYPE=Release -DQUILLSET_SANITIZE=OFF \
	    -DQUILLSET_DIST_WINDOWS_PROGRAMS=$(CURDIR)/$(RELEASE32) -DQUILLSET_DIST_DIRECTORY=$(CURDIR)/$(DIST) \
	    -DQUILLSET_DIST_QSRUN_DRIVER=$(CURDIR)/$(RELEASE64)/qsrun-driver.exe >/dev/null
	@cmake --build $(TOOLS) -j$(JOBS) --target qscheck qsmedia single_file_unpack

# One package per platform, made by CPack from each tree's install rules (cmake/packages.cmake):
# the win32 and win64 zips from the release trees, the Linux tar.gz from the tools tree.
dist: release tools
	@rm -rf $(DIST)
	@for tree in $(RELEASE32) $(RELEASE64) $(TOOLS); do (cd $$tree && cpack) || exit 1; done

build: native release win64 tools fuzz-build

# The Windows-side tests include the package tests, which need make dist's packages.
# Every tier runs, also after one failed; a summary of each comes at the end (tests/run_tiers.sh).
test: build dist
	@tests/run_tiers.sh $(JOBS) $(NATIVE) $(WIN64) $(FUZZ) $(WITH_WINE)

unit: native
	@ctest --test-dir $(NATIVE) --output-on-failure -j$(JOBS)

# One scenario needs only the robot, the programs it starts and the payload, not the whole build.
e2e: deps release
	@if [ -z "$(NAME)" ] || [ ! -f tests/e2e/$(NAME).scenario ]; then \
	  echo "make e2e: NAME must name a scenario: make e2e NAME=welcome runs tests/e2e/welcome.scenario"; exit 2; fi
	@$(WIN64_CONFIGURE)
	@cmake --build $(WIN64) -j$(JOBS) --target e2e_programs
	@$(WITH_WINE) ctest --test-dir $(WIN64) --output-on-failure --no-tests=error -R '^e2e_$(NAME)$$'

# One target after the other, at the lowest priority, each for FUZZ_SECONDS. New corpus entries
# and failing inputs stay in build/fuzz-work/NAME, never in the tree; a later run goes on from them.
# A target that fails does not keep the others from their run; make fails at the end.
fuzz: fuzz-build
	@failed=""; for name in $(FUZZ_TARGETS); do \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  nice -n 19 tests/fuzz/run_fuzzer.sh $(FUZZ)/$${name}_fuzz tests/fuzz/corpus/$$name build/fuzz-work/$$name \
	      -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 || failed="$$failed $$name"; \
	done; \
	if [ -n "$$failed" ]; then echo "make fuzz: failing input found by:$$failed (see build/fuzz-work)"; exit 1; fi

bench: native release win64 tools
	@bench/run_benchmarks.sh

# The demo also packs its medium as one download, with the optimised qsmedia of the tools tree
# (the sanitizers of build/native would make its LZMA encoder several times slower).
demo: native release win64 tools
	@tools/demo.sh

clean:
	rm -rf build
