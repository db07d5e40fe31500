#!/usr/bin/env bash
# The robot must fail wherever a program does not do what a scenario says, and must say why:
# each case below is a scenario, the exit status the robot must end with (1 a failed step,
# 2 an unreadable scenario) and a line its output must hold exactly.
# Usage: robot_failures.sh WINE_RUN ROBOT_EXE   (in the directory that holds robot_target.exe)
set -u
run=$1
robot=$2
scenario=robot_failure_case.scenario
mistakes=0

# expect STATUS LINE SCENARIO-LINE...
expect() {
    local status=$1 line=$2
    shift 2
    printf '%s\n' "$@" >"$scenario"
    local output actual
    # A robot that printed nothing never ran (Wine sometimes fails to start a program on a loaded
    # machine): try again.
    for _ in 1 2 3; do
        output=$("$run" "$robot" "$scenario" 2>&1)
        actual=$?
        [ -n "${output//[[:space:]]/}" ] && break
    done
    output=${output//$'\r'/}
    # After a failed step the robot ends the program it started; it must really be gone.
    if [ "$actual" != "$status" ] || ! grep -qxF -- "$line" <<<"$output" ||
        grep -q "could NOT be ended" <<<"$output"; then
        echo "WRONG: wanted status $status and the line: $line"
        echo "  scenario:"; printf '    %s\n' "$@"
        echo "  got status $actual and:"; sed 's/^/    /' <<<"$output"
        mistakes=$((mistakes + 1))
    else
        echo "ok   $line"
    fi
}

# Every case with a program starts it and finds its window with the default time-out, which a busy
# machine cannot use up. Only a step that must fail by waiting in vain gets a short one.
started=('start robot_target.exe' 'window "Robot target"')
short='timeout 1'

expect 1 'FAIL text 1001 "wrong": text is "start text"' "${started[@]}" "$short" 'text 1001 "wrong"'
expect 1 'FAIL window "Elsewhere": no visible window "Elsewhere" of class #32770 after 1 s' \
    "${started[@]}" "$short" 'window "Elsewhere"'
expect 1 'FAIL click 1004: it is disabled after 1 s' "${started[@]}" "$short" 'click 1004'
expect 1 'FAIL message "Confirm" "Sure?" YES: the message box says "Really?"' \
    "${started[@]}" 'click 1017' 'message "Confirm" "Sure?" YES'
expect 1 'FAIL exit 5: the exit code is -5' "${started[@]}" 'click 1009' 'exit 5'
# A dialog template names a window that holds every one of its controls: the target has some of
# the welcome page's IDs (1001 and Next), not all.
expect 1 'FAIL window "Robot target" #32770 IDD_WELCOME: no visible window "Robot target" of class #32770 with the controls of IDD_WELCOME after 1 s' \
    "${started[@]}" "$short" 'window "Robot target" #32770 IDD_WELCOME'
expect 1 'FAIL end of scenario: the program still runs (ended now; finish with an exit step)' "${started[@]}"
expect 1 'FAIL file robot_nothing.txt: no file "robot_nothing.txt" after 1 s' "$short" 'file robot_nothing.txt'
expect 1 'FAIL no-file robot_target.exe: "robot_target.exe" is still there after 1 s' "$short" 'no-file robot_target.exe'

# Scenarios that cannot be read are refused before anything runs.
expect 2 "robot: $scenario: line 1: unknown step \"klick\"" 'klick 1017'
expect 2 "robot: $scenario: line 1: click takes 1 argument(s), not 0" 'click'
expect 2 "robot: $scenario: line 2: resource_ids.h names no control or dialog template \"IDC_NEXTT\"" \
    'start robot_target.exe' 'click IDC_NEXTT'

rm -f "$scenario"
echo "$mistakes wrong"
[ "$mistakes" = 0 ]
