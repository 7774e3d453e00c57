#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, test and run; only the missing ones.
# A fast no-op when everything is already there. Runs as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev sqlite3 zlib1g-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-apps imagemagick fonts-dejavu-core
  python3 locales util-linux ccache
  # The Windows stage: mingw-w64 cross compilers, widl, zlib for mingw, Wine to run it.
  # libwine-dev brings the system IDL files (oaidl.idl, ocidl.idl, comcat.idl) widl imports.
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev wine wine64 libwine-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

# The test suite runs a second time under a locale with a decimal comma.
test_locale=de_DE.UTF-8
locale_missing() { ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; }

[ ${#missing[@]} -eq 0 ] && ! locale_missing && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || { echo "Need root or sudo to install: ${missing[*]} $test_locale" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq || true
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if locale_missing; then
  echo "Generating locale $test_locale"
  if ! grep -q "^$test_locale UTF-8" /etc/locale.gen 2>/dev/null; then
    echo "$test_locale UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo_cmd[@]}" locale-gen >/dev/null
  locale_missing && { echo "Could not generate locale $test_locale" >&2; exit 1; }
fi
exit 0
