#!/usr/bin/env bash
# scripts/demo.sh [quenbrook|velmarsh|dorrindale] [--sqlserver]
# Sets everything up, builds the program and the demo generator, writes a demo point-of-sale
# installation in build/demo-pos (afresh at each run, its four weeks of trade ending today)
# and starts the program (Quenbrook unless named) from its program folder. With --sqlserver the
# installation is of the SQL Server kind (DBKIND|2) on the embedded engine.
set -euo pipefail
cd "$(dirname "$0")/.."

sqlserver=()
args=()
for a in "$@"; do
  if [ "$a" = --sqlserver ]; then sqlserver=(--sqlserver); else args+=("$a"); fi
done
case "${args[0]:-quenbrook}" in
  quenbrook) program=Quenbrook; folder=deleted_items ;;
  velmarsh) program=Velmarsh; folder=invoice_lines ;;
  dorrindale) program=Dorrindale; folder=sales_by_dish ;;
  *) echo "usage: scripts/demo.sh [quenbrook|velmarsh|dorrindale] [--sqlserver]" >&2; exit 2 ;;
esac

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "$program is a desktop program and needs a graphical display, but DISPLAY and WAYLAND_DISPLAY are empty." >&2
  echo "Run scripts/demo.sh in a desktop session (or over ssh -X); scripts/test.sh runs everything without one." >&2
  exit 1
fi

scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j"$(nproc)" --target "$program" make_demo

demo=build/demo-pos
rm -rf "$demo"
build/tools/make_demo "$demo" "${sqlserver[@]}"
# A copy, not a link: the program finds bases.ini two folders above its own.
bin="$demo/reportes/${program,,}"
mkdir -p "$bin"
cp "build/$folder/$program" "$bin/"

# The demo speaks the language of the people it is for, unless the user chose a locale.
user_locale="${LC_ALL:-${LANG:-}}"
case "$user_locale" in
  "" | C | C.* | POSIX) default_locale=1 ;;
  *) default_locale=0 ;;
esac
if [ "$default_locale" = 1 ]; then
  if ! locale -a 2>/dev/null | grep -qi '^es_AR\.utf-\?8$'; then
    echo "Installing the es_AR.UTF-8 locale."
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if [ -f /etc/locale.gen ] && ! grep -q '^es_AR.UTF-8 UTF-8' /etc/locale.gen; then
      echo 'es_AR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen >/dev/null
  fi
  export LANG=es_AR.UTF-8
  unset LC_ALL
fi

echo
echo "Starting $program. Log in as admin with an empty password (or as laura, password 1234)."
cd "$bin"
exec "./$program"
