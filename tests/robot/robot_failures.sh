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
    output=$("$run" "$robot" "$scenario" 2>&1)
    actual=$?
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

# Every case with a program starts it the same way; short time-outs keep the failures quick.
started=('timeout 0.3' 'start robot_target.exe' 'window "Robot target"')

expect 1 'FAIL text 1001 "wrong": text is "start text"' "${started[@]}" 'text 1001 "wrong"'
expect 1 'FAIL text-contains 1010 "x": text is "Arguments: "' "${started[@]}" 'text-contains 1010 "x"'
expect 1 'FAIL text 4242 "": no control 4242 of "Robot target"' "${started[@]}" 'text 4242 ""'
expect 1 'FAIL window "Elsewhere": no visible window "Elsewhere" of class #32770 after 0.3 s' \
    "${started[@]}" 'window "Elsewhere"'
expect 1 'FAIL window "Robot target" Edit: no visible window "Robot target" of class Edit after 0.3 s' \
    "${started[@]}" 'window "Robot target" Edit'
expect 1 'FAIL click 1004: it is disabled after 0.3 s' "${started[@]}" 'click 1004'
expect 1 'FAIL click Button:9: there is no control Button:9 of "Robot target" after 0.3 s' \
    "${started[@]}" 'click Button:9'
expect 1 'FAIL checked 1003: still not checked after 0.3 s' "${started[@]}" 'checked 1003'
expect 1 'FAIL enabled 1004: still disabled after 0.3 s' "${started[@]}" 'enabled 1004'
expect 1 'FAIL visible 1006: still hidden after 0.3 s' "${started[@]}" 'visible 1006'
expect 1 'FAIL hidden 1005: still visible after 0.3 s' "${started[@]}" 'hidden 1005'
expect 1 'FAIL pixel 200 300 0 0 255 2: the pixel is 200 30 30 after 0.3 s' \
    "${started[@]}" 'pixel 200 300 0 0 255 2'
expect 1 'FAIL pixels 190 290 210 310 200 30 30 0 401: 400 pixels of that colour after 0.3 s' \
    "${started[@]}" 'pixels 190 290 210 310 200 30 30 0 401'
expect 1 'FAIL pixels 190 290 210 310 200 30 30 0 0 399: 400 pixels of that colour after 0.3 s' \
    "${started[@]}" 'pixels 190 290 210 310 200 30 30 0 400 400' 'pixels 190 290 210 310 200 30 30 0 0 399'
expect 1 'FAIL window "Robot target" #32770 4242: no visible window "Robot target" of class #32770 with control 4242 after 0.3 s' \
    "${started[@]}" 'window "Robot target" #32770 4242'
expect 1 'FAIL message "Confirm" "Sure?" YES: the message box says "Really?"' \
    "${started[@]}" 'click 1017' 'message "Confirm" "Sure?" YES'
expect 1 'FAIL message "Confirm" * OK: the message box has no usable OK button' \
    "${started[@]}" 'click 1017' 'message "Confirm" * OK'
expect 1 'FAIL message "Confirm" * YES: no message box "Confirm" after 0.3 s' "${started[@]}" 'message "Confirm" * YES'
expect 1 'FAIL gone "Robot target": the window "Robot target" is still there after 0.3 s' \
    "${started[@]}" 'gone "Robot target"'
expect 1 'FAIL exit 0: the program still runs after 0.3 s' "${started[@]}" 'exit 0'
expect 1 'FAIL exit 5: the exit code is -5' "${started[@]}" 'click 1009' 'exit 5'
expect 1 'FAIL text 1001 "": the current window "Robot target" is gone' \
    "${started[@]}" 'click 1009' 'exit -5' 'text 1001 ""'
expect 1 'FAIL start robot_target.exe: the program started before still runs' "${started[@]}" 'start robot_target.exe'
expect 1 'FAIL end of scenario: the program still runs (ended now; finish with an exit step)' "${started[@]}"
expect 1 'FAIL start missing.exe: no program "missing.exe"' 'start missing.exe'
expect 1 'FAIL click 1017: no program started' 'click 1017'
expect 1 'FAIL screenshot no-such-directory/x.png: cannot write no-such-directory/x.png' \
    'screenshot no-such-directory/x.png'

# Scenarios that cannot be read are refused before anything runs.
refused() { expect 2 "robot: $scenario: line 1: $1" "$2"; }
refused 'unknown step "klick"' 'klick 1017'
refused 'click takes 1 argument(s), not 0' 'click'
refused 'window takes 1 to 3 argument(s), not 4' 'window a b 1017 d'
refused 'not a control (ID, Class:N or @Text): "c"' 'window a b c'
refused 'unknown key: "F1"' 'key F1'
refused 'unknown answer: "MAYBE"' 'message "Confirm" * MAYBE'
refused 'not a value from 0 to 255: "256"' 'pixel 1 2 3 4 256'
refused 'not an integer: "zero"' 'exit zero'
refused 'not a number of seconds: "-1"' 'timeout -1'
refused 'not a control (ID, Class:N or @Text): "Next"' 'click Next'
refused 'unterminated quote' 'text 1001 "open'
refused 'text glued to a closing quote' 'text 1001 "a"b'

rm -f "$scenario"
echo "$mistakes wrong"
[ "$mistakes" = 0 ]
