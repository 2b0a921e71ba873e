#!/usr/bin/env bash
# Installs Debian packages where they are missing. Sourced by the other
# scripts, each of which asks for what it uses:
#   kestrova_install <package...>
#   kestrova_install_locale <locale>       e.g. de_DE.UTF-8
# KESTROVA_BUILD_PACKAGES is what building and running the application need;
# KESTROVA_BENCH_PACKAGES what the benchmarks add.
set -euo pipefail

KESTROVA_BUILD_PACKAGES=(
  build-essential cmake ninja-build qt6-base-dev
  fonts-dejavu-core fonts-liberation2
)
# Google Benchmark, and the X libraries and virtual display that the start-up
# and memory measurements drive the real program with.
KESTROVA_BENCH_PACKAGES=(libbenchmark-dev libx11-dev libxtst-dev libxdamage-dev xvfb xdotool)

kestrova_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

kestrova_install() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    kestrova_sudo apt-get update -qq
    kestrova_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
      --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

kestrova_install_locale() {
  local locale=$1 generated=${1/UTF-8/utf8}
  if ! locale -a 2>/dev/null | grep -qix "$generated"; then
    kestrova_install locales
    kestrova_sudo sed -i "s/^# *$locale UTF-8/$locale UTF-8/" /etc/locale.gen
    grep -q "^$locale UTF-8" /etc/locale.gen ||
      echo "$locale UTF-8" | kestrova_sudo tee -a /etc/locale.gen >/dev/null
    kestrova_sudo locale-gen >/dev/null
  fi
}
