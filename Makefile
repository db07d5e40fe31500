# A thin driver over CMake. The two commands that matter:
#   make demo   installs what is missing, builds, and runs the demo medium in examples/demo
#   make test   installs what is missing, builds all three configurations and runs every test tier
JOBS ?= 2
NATIVE := build/native
WIN64  := build/win64
WIN32  := build/win32
WITH_WINE := tests/wine/with-wine

.PHONY: all demo test deps build native win64 win32 clean

all: build

deps:
	@tools/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

win64: deps native
	@cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLSET_NATIVE_BUILD=$(CURDIR)/$(NATIVE) >/dev/null
	@cmake --build $(WIN64) -j$(JOBS)

win32: deps
	@cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(WIN32) -j$(JOBS)

build: native win64 win32

test: build
	@echo "== native unit tests"
	@ctest --test-dir $(NATIVE) --output-on-failure -j$(JOBS)
	@echo "== Windows-side tests under Wine"
	@$(WITH_WINE) ctest --test-dir $(WIN64) --output-on-failure

demo: native win64
	@tools/demo.sh

clean:
	rm -rf build
