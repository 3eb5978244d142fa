#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need (only the missing ones).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format clang-tidy-14 python3
  qt6-base-dev qt6-tools-dev qt6-l10n-tools libgl1-mesa-dev libsqlite3-dev libicu-dev libgtest-dev libgmock-dev
  unixodbc-dev tdsodbc libsqliteodbc
  fonts-dejavu-core fonts-liberation2 qt6-translations-l10n locales
  poppler-utils catdoc python3-xlrd libreoffice-calc-nogui libreoffice-writer-nogui
  xvfb xauth
)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The tests run under these process locales (es_CL writes dates with "-", de_DE is neither
# Spanish nor English).
locales=(es_AR.UTF-8 en_US.UTF-8 es_CL.UTF-8 de_DE.UTF-8)
generate=0
for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}" && continue
  grep -qx "$l UTF-8" /etc/locale.gen || $sudo sed -i "s/^# *$l UTF-8\$/$l UTF-8/" /etc/locale.gen
  grep -qx "$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  generate=1
done
if [ "$generate" -eq 1 ]; then
  $sudo locale-gen >/dev/null
fi
