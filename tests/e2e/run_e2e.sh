#!/usr/bin/env bash
# Starts the application on a virtual display and uses it as a person would:
# waits for the splash to give way, types the three proportions with real
# keystrokes (a letter and a minus sign among them, which must not arrive),
# clicks Calculate and checks what the window shows, clicks Clear and checks
# that it is gone, calculates a PPV of 1.000 and types into the result field,
# whose four characters it must not take, quits with Ctrl+Q and checks the exit
# status. Texts are read back as a person would take them: selected, copied and
# read off the clipboard. Whether a control shows is told by its place on a
# screenshot, against the same place before Calculate.
set -euo pipefail
app=$1
artifacts=$2
mkdir -p "$artifacts"
rm -f "$artifacts"/*.png

fail() {
  echo "end-to-end: $*" >&2
  exit 1
}

source "$(dirname "$0")/../../scripts/display.sh"
source "$(dirname "$0")/tools.sh"
start_display || fail "the virtual display did not start"

# The calculator: a visible window of this application titled Kestrova, of the
# normal type. A message box shares the title and the class, not the type.
calculator_window() {
  local id props
  for id in $("$XDOTOOL" search --onlyvisible --name '^Kestrova$' 2>/dev/null); do
    props=$("$XPROP" -id "$id" WM_CLASS _NET_WM_WINDOW_TYPE 2>/dev/null || true)
    if grep -q '^WM_CLASS(STRING) = ".*", "Kestrova"$' <<<"$props" &&
      grep -q '^_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL$' <<<"$props"; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

wait_calculator() {
  for _ in $(seq "$1"); do
    calculator_window && return 0
    sleep 0.1
  done
  return 1
}

# Visible top-level windows; the root window is always visible.
root=$("$XWININFO" -root -int | awk '/Window id:/ { print $4 }')
[ -n "$root" ] || fail "the root window of $DISPLAY cannot be read"
visible_windows() {
  "$XDOTOOL" search --onlyvisible --maxdepth 1 --name '.*' 2>/dev/null | grep -cvx "$root" || true
}

"$app" &
app_pid=$!
start=$(date +%s%N)

# The splash comes first: an untitled window, and no calculator yet.
for _ in $(seq 300); do
  [ "$(visible_windows)" -gt 0 ] && break
  sleep 0.05
done
[ "$(visible_windows)" -gt 0 ] || fail "no window appeared"
if calculator_window >/dev/null; then fail "the calculator came before the splash"; fi
"$IMPORT" -window root "$artifacts/splash.png"

if ! window=$(wait_calculator 150); then
  other=$("$XDOTOOL" search --onlyvisible --name '^Kestrova$' 2>/dev/null | head -n1 || true)
  if [ -n "$other" ]; then
    fail "the window titled Kestrova is not the calculator:" \
      "$("$XPROP" -id "$other" WM_CLASS _NET_WM_WINDOW_TYPE | tr '\n' ' ')"
  fi
  fail "the splash did not give way to the calculator"
fi
echo "end-to-end: the calculator window appeared after $((($(date +%s%N) - start) / 1000000)) ms"
sleep 0.3

eval "$("$XDOTOOL" getwindowgeometry --shell "$window")"
# The client area is 880 x 700; the menu bar sits above it.
menu=$((HEIGHT - 700))
[ "$WIDTH" -eq 880 ] || fail "the calculator window is $WIDTH wide, not 880"
[ "$menu" -gt 0 ] || fail "the calculator window shows no menu bar"
click() {
  local x=$((X + $1)) y=$((Y + menu + $2))
  # --sync waits until the pointer moves: it must not be there already.
  if [ "$("$XDOTOOL" getmouselocation | cut -d' ' -f1,2)" = "x:$x y:$y" ]; then
    "$XDOTOOL" click 1
  else
    "$XDOTOOL" mousemove --sync "$x" "$y" click 1
  fi
  sleep 0.2
}

# The clipboard as UTF-8 text, with the display's paragraph breaks (U+2029 or
# CR, whichever a copy yields) as newlines; trailing newlines are dropped.
clipboard() {
  local text
  text=$(timeout 5 "$XCLIP" -o -selection clipboard -t UTF8_STRING 2>/dev/null) || true
  text=${text//$'\xe2\x80\xa9'/$'\n'}
  printf '%s' "${text//$'\r'/$'\n'}"
}

# Puts a token of ours on the clipboard, so that a copy that copies nothing
# leaves it there. xclip keeps serving it until the application takes over.
claim_clipboard() {
  token="nothing copied $RANDOM$RANDOM"
  printf '%s' "$token" | "$XCLIP" -i -selection clipboard >/dev/null 2>&1
  for _ in $(seq 50); do
    [ "$(clipboard)" = "$token" ] && return 0
    sleep 0.1
  done
  fail "the clipboard cannot be set"
}

# Clicks the control at "x y", types the keys given after it, selects all and
# copies. Sets copied to what arrived, or to nothing and returns 1 when the
# clipboard still holds our token after 10 s.
copy_from() {
  local x y
  read -r x y <<<"$1"
  shift
  claim_clipboard
  click "$x" "$y"
  if [ $# -gt 0 ]; then "$XDOTOOL" type --delay 60 -- "$*"; fi
  "$XDOTOOL" key --delay 60 ctrl+a ctrl+c
  for _ in $(seq 100); do
    copied=$(clipboard)
    [ "$copied" != "$token" ] && return 0
    sleep 0.1
  done
  copied=""
  return 1
}

# What .015, .67 and .91 must give, worked out here from the three numbers:
# the counts of 1,000 cases, rounded half away from zero (no halves arise).
prevalence=.015 sensitivity=.67 specificity=.91
read -r with tp fp < <(awk -v p="$prevalence" -v se="$sensitivity" -v sp="$specificity" 'BEGIN {
  d = int(1000 * p + 0.5); tp = int(d * se + 0.5); tn = int((1000 - d) * sp + 0.5)
  print d, tp, 1000 - d - tn }')
want_ppv=$(awk -v tp="$tp" -v fp="$fp" 'BEGIN { s = sprintf("%.3f", tp / (tp + fp)); sub(/^0/, "", s); print s }')
# 20 rows of 50 symbols: + for a true positive, - for a false negative (the
# last without its space), ø for a false positive and o for a true negative;
# the cases with the condition between ( and ).
want_display=$(awk -v d="$with" -v tp="$tp" -v fp="$fp" 'BEGIN {
  s = "("; if (d < 1) s = s ")"
  for (i = 1; i <= 1000; ++i) {
    if (i <= tp) sym = "+ "
    else if (i < d) sym = "- "
    else if (i == d) sym = "-"
    else if (i <= d + fp) sym = "ø "
    else sym = "o "
    s = s sym
    if (i == d) s = s ")"
    if (i % 50 == 0) s = s "\n"
  }
  printf "%s", s }')
echo "end-to-end: $prevalence, $sensitivity, $specificity must give $with with the condition," \
  "$tp true positives, $fp false positives, PPV $want_ppv"

# Where the controls are, in the client area: x y of a point inside for
# clicking, and the rectangles (w x h + left + top) compared on screenshots.
declare -A field_at=([prevalence]="76 156" [sensitivity]="210 156" [specificity]="348 156")
ppv_at="807 156"
display_at="400 400"
# The four result controls and the display, each by a part that no other
# control covers.
result_names=("the display" "the PPV explanation" "the result field" "the fraction" "the legend")
result_boxes=("790x398+31+197" "232x39+508+137" "70x19+772+148" "100x17+742+127" "812x20+30+597")

# The items after the separator, joined by it.
join() {
  local separator=$1 out=$2 item
  shift 2
  for item; do out+="$separator$item"; done
  printf '%s' "$out"
}

# Grabs the screen to $1 and sorts the result controls by whether their part
# of it differs from the same part of before.png: into changed or unchanged.
compare_results() {
  "$IMPORT" -window root "$1"
  changed=() unchanged=()
  local i w h left top box
  for i in "${!result_boxes[@]}"; do
    IFS='x+' read -r w h left top <<<"${result_boxes[$i]}"
    box="${w}x${h}+$((X + left))+$((Y + menu + top))"
    if same_image "$1[$box]" "$artifacts/before.png[$box]"; then
      unchanged+=("${result_names[$i]}")
    else
      changed+=("${result_names[$i]}")
    fi
  done
}

# Compares as above, again and again for up to 10 s, until all the result
# controls show ($2 = shown) or none does ($2 = gone).
await_results() {
  local deadline=$((SECONDS + 10))
  while :; do
    compare_results "$1"
    if [ "$2" = shown ]; then
      [ "${#unchanged[@]}" -eq 0 ] && return
    else
      [ "${#changed[@]}" -eq 0 ] && return
    fi
    [ "$SECONDS" -ge "$deadline" ] && return
    sleep 0.2
  done
}

declare -A typed=([prevalence]='.0-1x5' [sensitivity]='.6a7' [specificity]='-.91')
for name in prevalence sensitivity specificity; do
  read -r x y <<<"${field_at[$name]}"
  click "$x" "$y"
  "$XDOTOOL" type --delay 60 -- "${typed[$name]}"
done

# The filter lets the digits and the points through and nothing else.
for name in prevalence sensitivity specificity; do
  want=${!name}
  copy_from "${field_at[$name]}" || fail "nothing could be copied from the $name field"
  [ "$copied" = "$want" ] || fail "after typing, the $name field holds '$copied' (want '$want')"
done
read -r x y <<<"${field_at[specificity]}"
click "$x" "$y"         # drops the selection
"$IMPORT" -window root "$artifacts/before.png"

before=$(visible_windows)
click 70 660            # Calculate
sleep 0.5
after=$(visible_windows)
# A refusal would have opened a message box: the typed letters and minus
# signs must not have reached the fields.
[ "$after" -eq "$before" ] || fail "Calculate opened another window (a refusal?)"

await_results "$artifacts/calculator.png" shown
echo "end-to-end: screenshot after Calculate: $artifacts/calculator.png"
[ "${#unchanged[@]}" -eq 0 ] ||
  fail "after Calculate these show nothing, their places as before Calculate: $(join ", " "${unchanged[@]}")"

copy_from "$display_at" || fail "after Calculate the display holds nothing to copy (want 20 rows)"
if [ "$copied" != "$want_display" ]; then
  mapfile -t want_rows <<<"$want_display"
  mapfile -t seen_rows <<<"$copied"
  for ((i = 0; i < ${#want_rows[@]}; ++i)); do
    [ "${want_rows[i]}" = "${seen_rows[i]-}" ] || break
  done
  fail "after Calculate the display holds ${#seen_rows[@]} rows (want ${#want_rows[@]});" \
    "row $((i + 1)) is '${seen_rows[i]-}' (want '${want_rows[i]-}')"
fi
copy_from "$ppv_at" || fail "after Calculate the result field holds nothing to copy (want '$want_ppv')"
[ "$copied" = "$want_ppv" ] ||
  fail "after Calculate the result field holds '$copied' (want '$want_ppv')"
echo "end-to-end: the display and the result field hold what they must"

click 440 660           # Clear
# The display is empty again and the result controls are gone: the screen is
# as before Calculate there.
await_results "$artifacts/cleared.png" gone
echo "end-to-end: screenshot after Clear: $artifacts/cleared.png"
problems=()
if [ "${#changed[@]}" -gt 0 ]; then
  problems+=("these still show something, their places unlike before Calculate: $(join ", " "${changed[@]}")")
fi
# An empty field takes a point; one that holds a number refuses a second.
for name in prevalence sensitivity specificity; do
  copy_from "${field_at[$name]}" . || fail "nothing could be copied from the $name field"
  [ "$copied" = . ] || problems+=("the $name field holds '$copied' (want '')")
done
[ "${#problems[@]}" -eq 0 ] || fail "after Clear $(join "; " "${problems[@]}")"

# .999, .999 and .999 give a PPV of "1.000", five characters in the result
# field of four: what is typed into it must not arrive. From the specificity
# field, Tab goes round the three input fields and selects what each holds.
"$XDOTOOL" type --delay 60 -- $'\t.999\t.999\t.999'
click 70 660            # Calculate
await_results "$artifacts/ppv_one.png" shown
[ "${#unchanged[@]}" -eq 0 ] ||
  fail "after Calculate with .999, .999, .999 these show nothing: $(join ", " "${unchanged[@]}")"
copy_from "$ppv_at" abc-9 || fail "the result field holds nothing to copy (want '1.000')"
[ "$copied" = 1.000 ] || fail "typing abc-9 into the result field showing 1.000 gives '$copied'"

"$XDOTOOL" key --clearmodifiers ctrl+q

for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then fail "Ctrl+Q did not end the application"; fi
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the application exited with status $status"
echo "end-to-end: passed (exit status 0; screenshots in $artifacts)"
