#!/usr/bin/env bash
# Installs what the build, the three test tiers and the fuzz targets need, and nothing when all of
# it is present.
# Safe to run again and again: `make demo` and `make test` call it first.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have i686-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-i686-posix)
{ have wine && [ -x /usr/lib/wine/wine64 ]; } || need+=(wine wine64)
have Xvfb                         || need+=(xvfb)
have cmake                        || need+=(cmake)
have makensis                     || need+=(nsis)          # the peer the benchmarks measure against
have osslsigncode                 || need+=(osslsigncode)  # qsmedia --sign, and its test
have msexpand                     || need+=(mscompress)    # an independent expander that checks qsmedia --compress
have openssl                      || need+=(openssl)       # the signing test's throw-away certificate
have unzip                        || need+=(unzip)         # the package tests unpack the zips
have jq                           || need+=(jq)            # the qsrun test reads report.json
[ -x /usr/bin/time ]              || need+=(time)          # GNU time: the benchmarks' peak memory
# qsrun's screenshots: stb_image_write over zlib, for the native tests and the Windows driver.
[ -f /usr/include/stb/stb_image_write.h ] || need+=(libstb-dev)
[ -f /usr/include/zlib.h ]        || need+=(zlib1g-dev)
[ -f /usr/x86_64-w64-mingw32/include/zlib.h ] || need+=(libz-mingw-w64-dev)
# qsmedia --single-file and its starter: the LZMA SDK's C sources (encoder and decoder), and
# SHA-256 from OpenSSL for the native qsmedia (the Windows programs use the system's CryptoAPI).
[ -f /usr/include/lzma/LzmaDec.c ] || need+=(lzma-dev)
[ -f /usr/include/openssl/evp.h ] || need+=(libssl-dev)
[ -d /usr/src/googletest ]        || need+=(googletest)    # sources, built with mingw for Windows
dpkg -s libgtest-dev >/dev/null 2>&1 || need+=(libgtest-dev)
# The fuzz targets: clang, and the compiler runtime that holds libFuzzer (-fsanitize=fuzzer links
# it from clang's resource directory) beside the sanitizer runtimes.
if ! have clang++; then
  need+=(clang libclang-rt-dev)
elif [ ! -f "$(clang++ -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a" ]; then
  need+=("libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev")
fi

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${need[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
