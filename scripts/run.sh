#!/usr/bin/env bash
# Starts Velmora on its built-in simulation servers with the given database file.
set -euo pipefail
database=$1
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$(dirname "$database")"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset)."
  echo "To see the window on a headless machine, run it under a virtual display:"
  echo "    xvfb-run -a make run"
  exit 1
fi
exec "$root/build/bin/velmora" --database "$database"
