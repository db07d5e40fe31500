# Checks of an installation's end state, for the `#! check` files of the end-to-end scenarios.
# Sourced by run_scenario.sh inside the Wine environment, after the robot's steps held. Windows
# paths are given as Setup.exe sees them ('C:\qse2e\app\readme.txt').
check_failures=0
payload=${payload:?}
probe() { "$here/../wine/wine-run" "$payload/probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

fail_check() {
  echo "FAIL check: $*"
  check_failures=$((check_failures + 1))
}

# drive_in DIR NAME STEP... — for the scripts that run the robot more than once (killed_runs.sh,
# upgrade.sh): the robot ($robot) runs the steps as a scenario (time-out 30 s unless a step says
# otherwise) in DIR, the program's current directory; NAME.scenario and NAME.out stay in $work.
drive_in() {
  local dir=$1 name=$2 status
  shift 2
  printf '%s\n' 'timeout 30' "$@" >"$work/$name.scenario"
  # A robot that printed nothing never ran (Wine sometimes fails to start a program on a loaded
  # machine): try again.
  for _ in 1 2 3; do
    (cd "$dir" && "$here/../wine/wine-run" "$robot" "$work/$name.scenario") >"$work/$name.out" 2>&1
    status=$?
    [ -s "$work/$name.out" ] && break
  done
  [ $status = 0 ] || { echo "robot $name failed:"; sed 's/^/  /' "$work/$name.out"; }
  return $status
}

# The Unix path of a Windows path (C:\qse2e\app, or on a drive a scenario mounted).
unix_path() {
  local drive=${1:0:1} path=${1:2}
  printf '%s\n' "$WINEPREFIX/dosdevices/${drive,,}:${path//\\//}"
}

expect_file() {  # expect_file WINPATH [CONTENT]
  local file
  file=$(unix_path "$1")
  if [ ! -f "$file" ]; then fail_check "no file $1"; return; fi
  [ $# -lt 2 ] || [ "$(cat "$file")" = "$2" ] || fail_check "$1 holds '$(head -c 80 "$file")', not '$2'"
}

expect_no_file() {
  [ ! -e "$(unix_path "$1")" ] || fail_check "$1 exists"
}

# expect_log WINPATH APPNAME RECORD_LINE... — the whole log, byte for byte: the header with
# today's date, [FILES], the record lines given, [REGISTRY] and the Uninstall key of APPNAME.
expect_log() {
  local log=$1 app=$2
  shift 2
  local file expected=""
  file=$(unix_path "$log")
  [ -f "$file" ] || { fail_check "no log $log"; return; }
  for day in "$(date -d yesterday +%-m/%-d/%Y)" "$(date +%-m/%-d/%Y)"; do
    # The day that did not match goes; the last one stays for the difference shown below.
    [ -z "$expected" ] || rm -f "$expected"
    expected=$(mktemp)
    {
      printf 'TWUNLOG V1\r\n\r\nTARNWICK UNINSTALLATION LOG FILE\r\n\r\n'
      printf 'MAKE NO CHANGES TO THIS FILE, ITS FORMAT IS EXACTLY DEFINED!\r\n'
      printf 'NO REAL PARSER DOES EXIST, SO DON\264T MODIFY ANYTHING!\r\n'
      printf 'ANY ERRORS COULD CAUSE CATASTROPHAL (!) DAMAGE TO YOUR SYSTEM, YOU\r\n'
      printf 'COULD BE UNABLE TO RESTART WINDOWS\r\n\r\n'
      printf 'DATE:%s\r\n[FILES]\r\n' "$day"
      for line in "$@"; do printf '%s\r\n' "$line"; done
      printf '[REGISTRY]\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%s\r\n' "$app"
    } >"$expected"
    if cmp -s "$expected" "$file"; then rm -f "$expected"; return; fi
  done
  fail_check "$log differs from what was expected:"
  diff <(tr -d '\r' <"$expected") <(tr -d '\r' <"$file") | head -20
  rm -f "$expected"
}

# expect_uninstall_key APPNAME UNINSTALLER — the entry names its uninstaller quoted, and with /S
# for a quiet run.
expect_uninstall_key() {
  local key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" out
  out=$(wine reg query "$key" 2>/dev/null | tr -d '\r')
  grep -qxF "    DisplayName    REG_SZ    $1" <<<"$out" || fail_check "$key: no DisplayName $1 in: $out"
  grep -qxF "    UninstallString    REG_SZ    \"$2\"" <<<"$out" || fail_check "$key: no UninstallString \"$2\" in: $out"
  grep -qxF "    QuietUninstallString    REG_SZ    \"$2\" /S" <<<"$out" ||
    fail_check "$key: no QuietUninstallString \"$2\" /S in: $out"
}

# expect_entry_value APPNAME NAME TYPE DATA — one value of the application's Uninstall entry, as
# reg shows it (REG_DWORD data in hex: 0x1); TYPE "-" for a value that must not be there.
expect_entry_value() {
  local key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" out
  out=$(wine reg query "$key" /v "$2" 2>/dev/null | tr -d '\r' | grep -F "    $2    ")
  if [ "$3" = - ]; then
    [ -z "$out" ] || fail_check "$key: $2 should not be there: $out"
  else
    [ "$out" = "    $2    $3    $4" ] || fail_check "$key: $2 reads '$out', not $3 $4"
  fi
}

# expect_shortcut WINPATH TARGET DESCRIPTION
expect_shortcut() {
  local out
  out=$(probe shortcut "$1")
  [ "$out" = "$2"$'\n'"$3" ] || fail_check "shortcut $1 reads '$out', not '$2' / '$3'"
}

# The short form of an existing path, as the platform gives it (Wine's are hashed, not guessable).
short_path() { probe short-path "$1"; }

# expect_bytes WINPATH FILE — WINPATH (in any case, as Windows finds it) holds exactly FILE's bytes.
# A failure says which of the three went wrong: the path, the file's presence or its bytes.
expect_bytes() {
  local unix_path
  unix_path=$(winepath -u "$1" 2>/dev/null) || { fail_check "winepath -u '$1' failed"; return; }
  [ -f "$unix_path" ] || { fail_check "$1 ($unix_path) does not exist"; return; }
  cmp -s "$unix_path" "$2" ||
    fail_check "$1 does not hold the bytes of $(basename "$2") ($(stat -c %s "$unix_path") bytes, not $(stat -c %s "$2"))"
}

# pending_moves — the NT list of moves at the next restart (PendingFileRenameOperations, pairs of
# source and "!"-marked target), one "SOURCE<tab>TARGET" line each, without the "\??\" prefixes;
# TARGET is empty for a deletion.
pending_moves() {
  wine reg query "$session_manager" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *PendingFileRenameOperations *REG_MULTI_SZ *//p' | sed 's/\\0/\n/g' |
    awk '
      { sub(/^!/, ""); sub(/^\\\?\?\\/, "") }
      NR % 2 == 1 { source = $0; next }
      { print source "\t" $0 }'
}

# pending_move_source WINPATH — the file that the list of moves at the next restart moves over
# WINPATH; status 1 when no move names WINPATH.
pending_move_source() {
  pending_moves | target=$1 awk -F '\t' '$2 == ENVIRON["target"] { print $1; found = 1 } END { exit !found }'
}

# expect_deleted_at_restart WINPATH — the list of moves at the next restart deletes WINPATH.
expect_deleted_at_restart() {
  pending_moves | target=$1 awk -F '\t' '$2 == "" && tolower($1) == tolower(ENVIRON["target"]) { found = 1 } END { exit !found }' ||
    fail_check "$1 is not due for deletion at the next restart: $(pending_moves)"
}

# wininit_rename_source TARGET — the source of the line TARGET=SOURCE in the rename section of
# Wininit.ini (which Windows 95/98 carry out at the next start); status 1 when there is none.
wininit_rename_source() {
  tr -d '\r' <"$windows_dir/wininit.ini" | target=$1 awk '
    BEGIN { target = ENVIRON["target"] }
    /^\[/ { inside = tolower($0) == "[rename]"; next }
    inside && substr($0, 1, length(target) + 1) == target "=" { print substr($0, length(target) + 2); found = 1 }
    END { exit !found }'
}

# expect_registry_value KEY VALUE — KEY below HKLM holds VALUE (the test servers' proof of running)
expect_registry_value() {
  wine reg query "HKLM\\$1" /v "$2" >/dev/null 2>&1 || fail_check "no value $2 under HKLM\\$1"
}

# The Windows path of PATH below the Start menu's Programs folder (programs_path 'qse2e\Group').
programs_path() {
  local programs
  programs=$(programs_folder)
  programs="C:${programs#"$WINEPREFIX/drive_c"}"
  printf '%s\\%s\n' "${programs//\//\\}" "$1"
}

# expect_log_matches_disk LOG [WINPATH...] — after any run, whole or stopped: every file or
# shortcut the log records is there, and every file below $installed_root (C:\qse2e unless the
# check says otherwise) but the log and the WINPATHs given (files that were there before) has its
# record.
installed_root='C:\qse2e'
expect_log_matches_disk() {
  local log=$1 path long
  shift
  [ -f "$(unix_path "$log")" ] || { fail_check "no log $log"; return; }
  local recorded=()
  while read -r path; do
    long=$(probe long-path "$path") || { fail_check "$log records $path, which is not there"; continue; }
    recorded+=("${long,,}")
  done < <(tr -d '\r' <"$(unix_path "$log")" | awk '/^\[REGISTRY\]$/ { f = 0 } f && ($0 == "SHARED" || $0 == "NONSHARED") { print prev } /^\[FILES\]$/ { f = 1 } { prev = $0 }')
  local known=("${log,,}" "${@,,}") file
  local root
  root=$(unix_path "$installed_root")
  while read -r file; do
    path="${installed_root%\\}${file#"${root%/}"}"
    path=${path//\//\\}
    local found=0 each
    for each in "${recorded[@]}" "${known[@]}"; do [ "$each" = "${path,,}" ] && found=1 && break; done
    [ $found = 1 ] || fail_check "$path is installed but not in $log"
  done < <(find "$root" -type f)
}
