#!/usr/bin/env bash
# Retakes the README screenshots from the real program, driven like an operator would drive it.
#
#   bash docs/screenshots/take-screenshots.sh
#
# Needs: a built program and simulator (build/src/app/k7100daq, build/sim/k7100sim; `cmake --preset default
# && cmake --build --preset default`), and the Debian packages xvfb, xdotool and imagemagick. No display is
# needed: the script starts itself under xvfb-run on a 1400x900 screen without a window manager.
#
# What it does, in a scratch directory (nothing of yours is touched):
#   1. starts the simulated K7100 (a Bingham drilling mud, 20 simulated seconds per second) and points
#      "Comm 1" at it through ports.txt;
#   2. Setup: grabs setup.png with the example sequence "API Standard", sends it, returns;
#   3. Real Time Test: names the run "Mud A 120F", starts it, grabs real-time.png mid-run, waits for the end;
#   4. restarts the simulator with a thinner mud and records "Mud B 120F" the same way (for the overlay);
#   5. opens "Mud A 120F" in the main window (main-window.png), draws the fitted model curves over it
#      (rheology-curves.png) and shows its Rheology window (rheology.png), then shows viscosity against shear
#      rate on log scales with "Mud B 120F" overlapped (overlay.png).
# A whole run takes about three minutes.
#
# Clicks are window-relative positions of the controls at their design size; the windows keep that size on a
# 1400x900 screen. If a layout changes, look at the step pictures kept in the scratch directory (step-*.png;
# K7100_SHOTS_KEEP=1 keeps it) and adjust the offsets below.
#
# Environment:
#   K7100_BIN_DIR  folder holding k7100daq and k7100sim (default: the two files copied from build/)
#   K7100_SHOTS_OUT  where the pictures go (default: docs/screenshots)
#   K7100_SHOTS_KEEP=1  keep the scratch directory (its path is printed)
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)

if [ -z "${K7100_SHOTS_UNDER_XVFB:-}" ]; then
    export K7100_SHOTS_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1400x900x24" bash "$0" "$@"
fi

out=${K7100_SHOTS_OUT:-$repo/docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d /tmp/k7100-shots.XXXXXX)
lab=$work/lab
mkdir -p "$lab" "$work/bin"

# Copies, so a rebuild during the run cannot pull the binaries away.
bin=${K7100_BIN_DIR:-$repo/build}
for f in k7100daq k7100sim; do
    for candidate in "$bin/$f" "$bin/src/app/$f" "$bin/sim/$f"; do
        if [ -x "$candidate" ]; then cp "$candidate" "$work/bin/$f"; break; fi
    done
    [ -x "$work/bin/$f" ] || { echo "no $f under $bin (build the program first)" >&2; exit 1; }
done

sim_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    if [ "${K7100_SHOTS_KEEP:-}" = 1 ]; then echo "scratch kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

link=$work/k7100
echo "1 = $link" > "$lab/ports.txt"

start_sim() {   # start_sim <fluid options...>
    if [ -n "$sim_pid" ]; then kill "$sim_pid"; wait "$sim_pid" 2>/dev/null || true; fi
    "$work/bin/k7100sim" --link "$link" --rate 20 --fluid bingham --ambient 110 --heater-tau 60 \
        --ref-temp 120 --temp-coeff 0.008 --noise 0.4 "$@" > "$work/sim.log" 2>&1 &
    sim_pid=$!
    for _ in $(seq 50); do [ -e "$link" ] && return; sleep 0.1; done
    echo "simulator did not start" >&2; cat "$work/sim.log" >&2; exit 1
}

# The visible window whose title is exactly $1, waiting for it up to $2 seconds (default 20).
window() {
    local id
    for _ in $(seq $(( ${2:-20} * 5 ))); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then echo "$id"; return; fi
        if [ -n "$app_pid" ] && ! kill -0 "$app_pid" 2>/dev/null; then
            echo "the program ended:" >&2; cat "$work/app.log" >&2; exit 1
        fi
        sleep 0.2
    done
    echo "window \"$1\" did not appear" >&2
    import -window root "$work/step-missing.png" || true
    exit 1
}

# Waits until no visible window is titled $1.
gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    echo "window \"$1\" stayed open" >&2
    exit 1
}

# click <window id> <x> <y>: x, y inside the window. Without a window manager the keyboard follows the pointer.
click() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $(( X + $2 )) $(( Y + $3 )) click 1
    sleep 0.4
}

# type_into <window id> <x> <y> <text>: replaces the text of the field at x, y.
type_into() {
    click "$1" "$2" "$3"
    xdotool key ctrl+a
    xdotool type --delay 20 "$4"
}

# Presses the default button of a message box titled $1.
acknowledge() {
    local id
    id=$(window "$1" "${2:-20}")
    click "$id" 20 20
    xdotool key Return
    gone "$1"
}

# shot <window id> <file>: the window alone, stripped and reduced to a palette to stay small.
shot() {
    xdotool mousemove 0 0      # no hover highlight or tool tip in the picture
    sleep 0.8
    import -window "$1" "$work/raw.png"
    convert "$work/raw.png" -strip -colors 256 "PNG8:$out/$2"
    echo "$out/$2"
}

step() { import -window root "$work/step-$1.png"; }

main_title="K7100DAQ  version 2.0.0.12"

# Setup: show the example sequence, send it to the instrument, return to the main window.
send_sequence() {   # send_sequence [picture]
    local main setup
    main=$(window "$main_title")
    click "$main" 1051 445                 # Setup
    setup=$(window "K7100DAQ Setup")
    [ -n "${1:-}" ] && shot "$setup" "$1"
    click "$setup" 799 450                 # Send to K7100
    sleep 10                               # twelve steps, then "Finished sending test steps."
    step "sent"
    click "$setup" 799 496                 # Return
    gone "K7100DAQ Setup"
}

# Real Time Test: name the run, start it, optionally grab it mid-run, wait for the end, return.
real_time_run() {   # real_time_run <test name> <fluid id> <notes> [picture]
    local main rt naming
    main=$(window "$main_title")
    click "$main" 1051 403                 # Real Time Test
    rt=$(window "Real Time Test")
    click "$rt" 598 645                    # Save Result As
    naming=$(window "Real Time Test Testname")
    type_into "$naming" 334 27 "$1"        # Test Name
    type_into "$naming" 334 59 "$2"        # Fluid ID
    type_into "$naming" 334 123 "Mud lab"  # Company Name
    type_into "$naming" 257 200 "$3"       # Description, Notes and Comments
    step "naming"
    click "$naming" 199 393                # OK
    gone "Real Time Test Testname"
    rt=$(window "Real Time Test")
    click "$rt" 738 645                    # Start
    sleep 3
    click "$rt" 620 677                    # Show All Data: the chart follows the whole run
    if [ -n "${4:-}" ]; then
        sleep 10                           # about four minutes of the run: the flow curve down to 6 rpm
        shot "$rt" "$4"
    fi
    acknowledge "Message" 120              # "Test is finished."
    step "finished"
    click "$rt" 1019 645                   # Return
    gone "Real Time Test"
}

start_sim --viscosity 22 --yield 60 --gel-10s 25 --gel-10m 45
(cd "$lab" && exec "$work/bin/k7100daq") > "$work/app.log" 2>&1 &
app_pid=$!

send_sequence setup.png
real_time_run "Mud A 120F" "WBM 12.5 ppg" "Field sample after shearing; API flow curve and gels" real-time.png

start_sim --viscosity 15 --yield 35 --gel-10s 15 --gel-10m 28
send_sequence
real_time_run "Mud B 120F" "WBM 10.8 ppg" "Diluted sample for comparison"

# Open "Mud A 120F" in the main window.
main=$(window "$main_title")
click "$main" 1051 235                     # Open Saved Test
open=$(window "Open Saved Test")
type_into "$open" 156 280 "Mud A 120F"     # Or, select the test manually by name
click "$open" 367 49                       # OK
gone "Open Saved Test"
sleep 1
shot "$main" main-window.png

# The fitted models over the flow curve, and the Rheology window.
click "$main" 1047 77                      # Show Model Curves
sleep 1
shot "$main" rheology-curves.png
click "$main" 1051 697                     # Rheology
rheology=$(window "Rheology - Mud A 120F")
shot "$rheology" rheology.png
xdotool key Escape
gone "Rheology - Mud A 120F"
click "$main" 1047 77                      # Show Model Curves off again

# Viscosity against shear rate, log scales, with the thinner mud overlapped.
click "$main" 1051 104                     # Chart Type
click "$main" 995 125                      # Viscocity Vs. Shear Rate
click "$main" 933 186                      # X Scale: Log
click "$main" 1075 186                     # Y Scale: Log
click "$main" 1051 655                     # Overlap Charts
overlap=$(window "Overlap Test Selection")
step "overlap"
click "$overlap" 150 44                    # the newest test, "Mud B 120F", heads the list
click "$overlap" 368 49                    # OK
gone "Overlap Test Selection"
sleep 1
shot "$main" overlay.png
