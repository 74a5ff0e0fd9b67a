#!/bin/bash
# How soon the running program answers clicks with a long test: starts the real program under Xvfb in a
# scratch folder holding the given database, opens its newest test through the open dialog with real X
# events (xdotool), clicks the scale options while and after it opens and changes the chart type, and
# prints how long each click took to show on screen (a screenshot region changing; screenshots take about
# 0.1 to 0.2 s each, so the figures are upper bounds). Needs xvfb-run, xdotool and ImageMagick.
#
#   bench/click_latency.sh build/src/app/k7100daq /tmp/k7100-bench/window-100000.db
#
# The coordinates are those of the main window at its first size on a 1600x1000 screen without a window
# manager (as xvfb-run starts it).
set -e
if [ "$1" != "--inside" ]; then
  program=$(readlink -f "$1")
  database=$(readlink -f "$2")
  work=$(mktemp -d)
  cp "$database" "$work/K7100.db"
  xvfb-run -a -s "-screen 0 1600x1000x24" "$0" --inside "$program" "$work"
  rm -rf "$work"
  exit 0
fi
program=$2
cd "$3"
"$program" > program.log 2>&1 &
app=$!
trap 'kill $app 2>/dev/null' EXIT
xdotool search --sync --name "K7100DAQ" > /dev/null
sleep 2

now() { date +%s%N; }
region() { import -window root -crop "$1" png:- 2>/dev/null | md5sum | cut -c1-32; }
# Milliseconds from $3 until region $1 differs from hash $2 (gives up after 20 s).
shown_after() {
  while :; do
    [ "$(region "$1")" != "$2" ] && { echo $(( ($(now) - $3) / 1000000 )); return; }
    [ $(( ($(now) - $3) / 1000000 )) -gt 20000 ] && { echo "more than 20000"; return; }
  done
}
grid=600x200+220+620  # first rows of the results grid
xlog=30x30+1118+232   # X scale "Log"
ylog=30x30+1261+232   # Y scale "Log"
chart=700x300+260+180 # the plot

xdotool mousemove 1252 295 click 1 # "Open Saved Test"
xdotool search --sync --name "Open Saved Test" > /dev/null
sleep 0.5
grid0=$(region $grid)
xlog0=$(region $xlog)
xdotool key Down # the newest test
sleep 0.3
t=$(now)
xdotool key Return
xdotool mousemove 1133 246 click 1 # X "Log" at once, while the test is read and drawn
echo "open: grid filled after $(shown_after $grid "$grid0" $t) ms"
echo "X Log clicked during the open: shown after $(shown_after $xlog "$xlog0" $t) ms"
sleep 2
for i in 1 2 3; do
  y0=$(region $ylog)
  c0=$(region $chart)
  t=$(now)
  xdotool mousemove 1276 246 click 1 # Y "Log"
  echo "Y Log click $i: option shown after $(shown_after $ylog "$y0" $t) ms, chart after $(shown_after $chart "$c0" $t) ms"
  sleep 1
  y0=$(region $ylog)
  t=$(now)
  xdotool mousemove 1276 222 click 1 # Y "Normal"
  echo "Y Normal click $i: option shown after $(shown_after $ylog "$y0" $t) ms"
  sleep 1
done
c0=$(region $chart)
xdotool mousemove 1250 164 click 1 # the chart-type list
sleep 0.3
t=$(now)
xdotool key Down Down Down Down Return # "Viscocity Vs. Temperature"
echo "chart type changed by keyboard: chart redrawn after $(shown_after $chart "$c0" $t) ms"
