#!/usr/bin/env bash
# qsmedia --sign with the programs of this build (osslsigncode signs only real Windows programs):
# the signed Setup.exe and QSUninstall.exe verify against a throw-away certificate, given as PEM
# files and as PKCS#12 with a password file; the rest of the medium is what qsmedia lays out
# without --sign, and that medium carries the programs unchanged. A signing that fails, also half
# way, leaves no medium and nothing in the temporary directory. qsmedia.exe without osslsigncode
# says so. A single-file installer signed after its payload is in place verifies, and a changed
# byte in its payload breaks the signature; the Setup.exe and QSUninstall.exe it carries are signed
# too.
# A starter with symbols behind its sections (this test build's) is refused for a single file.
# Usage: qsmedia_sign_test.sh NATIVE_QSMEDIA QSMEDIA_EXE SINGLE_FILE_UNPACK RELEASE_PROGRAMS
#   (Setup.exe, QSUninstall.exe and QSStarter.exe beside QSMEDIA_EXE and in the release build's
#   folder RELEASE_PROGRAMS; SINGLE_FILE_UNPACK the native program that unpacks a single file's
#   payload)
set -u
qsmedia=$(realpath "$1") qsmedia_exe=$(realpath "$2") unpack=$(realpath "$3") release=$(realpath "$4")
programs=$(dirname "$qsmedia_exe")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cd "$work" || exit 1
# qsmedia's temporary files go here, where the test sees whether one stays.
mkdir tmp && export TMPDIR=$work/tmp

openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Quillset test" -keyout key.pem -out cert.pem 2>/dev/null &&
  printf 'secret\n' >password &&
  openssl pkcs12 -export -in cert.pem -inkey key.pem -passout file:password -out cert.p12 || exit 1
mkdir -p tree/app && printf 'hello\n' >tree/app/readme.txt
printf 'app = Signed Test\nsection "Main" required = app/\n' >tree/medium.txt
# lay_out OUTDIR OPTION... — qsmedia's exit status; what it said in OUTDIR.log. qsmedia_path, when
# set, is qsmedia's PATH.
lay_out() {
  local out=$1; shift
  PATH=${qsmedia_path:-$PATH} "$qsmedia" tree/medium.txt "$out" --programs "$programs" "$@" >"$out.log" 2>&1
}
verifies() { osslsigncode verify -CAfile cert.pem -in "$1" >verify.log 2>&1; }

lay_out plain || fail "without --sign: $(cat plain.log)"
for program in Setup.exe QSUninstall.exe; do
  cmp -s "plain/$program" "$programs/$program" || fail "without --sign, $program is not the build's"
  verifies "plain/$program" && fail "the unsigned $program verifies"
done

for signing in "pem --sign cert.pem --key key.pem" "p12 --sign cert.p12 --pass-file password"; do
  read -r name options <<<"$signing"
  # shellcheck disable=SC2086 # the options are words
  lay_out "$name" $options || { fail "$name: $(cat "$name.log")"; continue; }
  for program in Setup.exe QSUninstall.exe; do
    verifies "$name/$program" || fail "$name: $program does not verify: $(tail -3 verify.log)"
    grep -q "Text description: Signed Test" verify.log || fail "$name: $program is not described as the app"
  done
  diff -r -x Setup.exe -x QSUninstall.exe plain "$name" >/dev/null || fail "$name: the medium differs beyond the programs"
done
# The verification looks at the content: one byte changed in a signed program, and it fails.
cp pem/Setup.exe tampered.exe && printf 'X' | dd of=tampered.exe bs=1 seek=8192 conv=notrunc 2>/dev/null
verifies tampered.exe && fail "a changed Setup.exe still verifies"
[ -z "$(ls -A tmp)" ] || fail "left in the temporary directory: $(ls -A tmp)"

# --single-file --sign: the whole program is signed after its payload is in place, so the
# signature covers the payload: it verifies, and a byte changed in the payload breaks it.
"$qsmedia" tree/medium.txt --single-file single.exe --programs "$release" --sign cert.pem --key key.pem \
  >single.log 2>&1 || fail "--single-file --sign: $(cat single.log)"
grep -qF "the program, Setup.exe and QSUninstall.exe signed" single.log || fail "--single-file --sign: $(cat single.log)"
verifies single.exe || fail "--single-file --sign: the program does not verify: $(tail -3 verify.log)"
"$unpack" single.exe inside >unpack.log 2>&1 || fail "--single-file --sign: the payload does not unpack: $(cat unpack.log)"
for program in Setup.exe QSUninstall.exe; do
  verifies "inside/$program" || fail "--single-file --sign: the $program inside does not verify: $(tail -3 verify.log)"
done
payload=$(grep -obUaF QSSINGLE single.exe | head -1 | cut -d: -f1)
[ -n "$payload" ] || fail "--single-file --sign: no payload header in the program"
cp single.exe single-tampered.exe && printf 'X' | dd of=single-tampered.exe bs=1 seek=$((payload + 200)) conv=notrunc 2>/dev/null
verifies single-tampered.exe && fail "--single-file --sign: a changed byte in the payload still verifies"
[ -z "$(ls -A tmp)" ] || fail "--single-file --sign: left in the temporary directory: $(ls -A tmp)"

"$qsmedia" tree/medium.txt --single-file symbols.exe --programs "$programs" >symbols.log 2>&1
status=$?
[ $status = 1 ] && grep -qF "QSStarter.exe holds" symbols.log && [ ! -e symbols.exe ] && [ ! -e symbols.exe.partial ] ||
  fail "a starter with symbols behind its sections: exit status $status: $(cat symbols.log)"

# fails NAME MESSAGE OPTION... — qsmedia exits with 1 and says MESSAGE, and nothing stays.
fails() {
  local name=$1 message=$2; shift 2
  lay_out "$name" "$@"
  local status=$?
  [ $status = 1 ] || fail "$name: exit status $status"
  grep -qF -- "$message" "$name.log" || fail "$name: $(cat "$name.log")"
  [ ! -e "$name" ] || fail "$name: a medium was written"
  [ -z "$(ls -A tmp)" ] || fail "$name: left in the temporary directory: $(ls -A tmp)"
}
fails missing-key "qsmedia: error: missing.pem cannot be read (--key)" --sign cert.pem --key missing.pem
# An osslsigncode that signs Setup.exe and then fails.
printf '#!/bin/sh\ncase "$*" in *QSUninstall.exe*) echo "no room left" >&2; exit 3 ;; esac\nexec osslsigncode "$@"\n' >osslsigncode-half-way
chmod +x osslsigncode-half-way
fails half-way "QSUninstall.exe (exit status 3); it says:" --sign cert.pem --key key.pem --osslsigncode ./osslsigncode-half-way
grep -qx "no room left" half-way.log || fail "half-way: osslsigncode's words are not passed on: $(cat half-way.log)"
qsmedia_path=/nowhere fails no-osslsigncode "qsmedia: error: signing needs osslsigncode, and there is none on PATH" \
  --sign cert.pem --key key.pem

# qsmedia.exe finds no osslsigncode.exe under Wine.
"$(dirname "$0")/../wine/wine-run" "$qsmedia_exe" tree/medium.txt exe --sign cert.pem --key key.pem >exe.log 2>&1
status=$?
[ $status = 1 ] && grep -qF "qsmedia: error: signing needs osslsigncode" exe.log && [ ! -e exe ] ||
  fail "qsmedia.exe without osslsigncode: exit status $status: $(cat exe.log)"

[ $failures = 0 ] && echo "qsmedia --sign: all checks passed"
exit $((failures > 0))
