#!/usr/bin/env bash
# Starts Velmora on its built-in simulation servers with the given database file. On the
# first start (no database file yet) the database is created and the demo project
# imported, so that "Load Project" has something to offer at once. Without a display the
# demo project is acquired headless for 20 seconds instead.
set -euo pipefail
database=$1
root=$(cd "$(dirname "$0")/.." && pwd)
cli="$root/build/bin/velmora-cli"
demo_name="Demo Plant"
mkdir -p "$(dirname "$database")"

if [ ! -e "$database" ]; then
  demo="$root/examples/demo-plant.vproj"
  log=$(mktemp)
  if "$cli" db init --database "$database" >"$log" 2>&1 &&
    "$cli" project import "$demo" --database "$database" >>"$log" 2>&1; then
    echo "New database $database with the demo project \"$demo_name\"."
  else
    # The program still starts: it creates or checks the database itself.
    echo "Warning: the demo project could not be imported into $database:"
    tail -5 "$log"
  fi
  rm -f "$log"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): acquiring the demo project"
  echo "\"$demo_name\" headless for 20 seconds into $database."
  echo "To see the window on a headless machine, run it under a virtual display:"
  echo "    xvfb-run -a make run"
  exec "$cli" acquire --database "$database" --project "$demo_name" --seconds 20
fi
exec "$root/build/bin/velmora" --database "$database"
