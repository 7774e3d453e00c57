#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, test and run; only the missing ones.
# A fast no-op when everything is already there. Runs as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev sqlite3 zlib1g-dev libdeflate-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-apps imagemagick fonts-dejavu-core
  python3 locales util-linux ccache time
  # Forwarding to PostgreSQL: libpq to build against, the server for the tests.
  libpq-dev postgresql
  # The Windows stage: mingw-w64 cross compilers, widl, zlib for mingw, Wine to run it.
  # libwine-dev brings the system IDL files (oaidl.idl, ocidl.idl, comcat.idl) widl imports.
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev wine wine64 libwine-dev
  # SQLite of the Windows build: Debian's source package (apt-get source, dpkg-dev) turned
  # into its amalgamation by its own configure/make, which needs tclsh.
  dpkg-dev tcl
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

# The test suite runs a second time under a locale with a decimal comma.
test_locale=de_DE.UTF-8
locale_missing() { ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; }

# The Windows build compiles SQLite from the source package: that needs a deb-src entry.
# It is derived from the package sources already configured (same URIs, suites and
# components), so no archive is named here.
src_list=/etc/apt/sources.list.d/velmora-deb-src.sources
have_deb_src() {
  grep -qsE '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list ||
    grep -qsiE '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources
}
derived_deb_src() {  # prints deb822 stanzas of type deb-src for every enabled deb source
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    # One-line form: deb [options] URI suite components...
    awk '$1 == "deb" {
      i = 2; opts = ""
      if ($2 ~ /^\[/) { while (i <= NF) { opts = opts " " $i; if ($i ~ /\]$/) { i++; break } i++ } }
      uri = $i; suite = $(i + 1); comps = ""
      for (j = i + 2; j <= NF; j++) comps = comps (comps == "" ? "" : " ") $j
      signed = ""
      if (match(opts, /signed-by=[^] ]+/)) signed = substr(opts, RSTART + 10, RLENGTH - 10)
      printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n", uri, suite, comps
      if (signed != "") printf "Signed-By: %s\n", signed
      printf "\n"
    }' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # deb822 form: keep the stanzas whose Types hold "deb", with Types set to deb-src.
    awk 'BEGIN { RS = ""; FS = "\n" }
      {
        keep = 0; out = ""; enabled = 1
        for (i = 1; i <= NF; i++) {
          line = $i
          if (line ~ /^#/) continue
          if (tolower(line) ~ /^types:/) { if (line ~ /[[:space:]]deb([[:space:]]|$)/) keep = 1; continue }
          if (tolower(line) ~ /^enabled:[[:space:]]*no/) enabled = 0
          out = out line "\n"
        }
        if (keep && enabled) printf "Types: deb-src\n%s\n", out
      }' "$f"
  done
}
deb_src_missing() { ! have_deb_src; }

[ ${#missing[@]} -eq 0 ] && ! locale_missing && ! deb_src_missing && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || { echo "Need root or sudo to install: ${missing[*]} $test_locale" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
if deb_src_missing; then
  echo "Adding source-package entries derived from the configured package sources ($src_list)"
  derived_deb_src | "${sudo_cmd[@]}" tee "$src_list" >/dev/null
  [ -s "$src_list" ] || { echo "No package source to derive a deb-src entry from" >&2; exit 1; }
  "${sudo_cmd[@]}" apt-get update -qq || true
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
