#!/usr/bin/env bash
# Configures the project into a fresh build folder with every test required and
# xdotool unavailable: its cache entry is set empty, a value that find_program
# keeps (it searches again only where the entry is NOTFOUND). The configure
# must fail and name xdotool.
#   missing_tool.sh <cmake> <generator> <source folder> <build folder>
set -euo pipefail
cmake=$1
generator=$2
source=$3
build=$4

fail() {
  echo "missing tool: $*" >&2
  exit 1
}

rm -rf "$build"
status=0
output=$("$cmake" -S "$source" -B "$build" -G "$generator" -DKESTROVA_REQUIRE_ALL_TESTS=ON \
  -DKESTROVA_XDOTOOL= 2>&1) || status=$?
if [ "$status" -eq 0 ]; then
  fail "the configure passed without xdotool; it said:"$'\n'"$output"
fi
grep -qw xdotool <<<"$output" || fail "the configure failed without naming xdotool; it said:"$'\n'"$output"
rm -rf "$build"
echo "missing tool: the configure stops and names xdotool"
