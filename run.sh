#!/usr/bin/env bash
# Sets up and builds like test.sh, then runs a deliverable in the current directory:
#   ./run.sh kestrane ARGS...
#   ./run.sh render PAGE.html OUT.png [--width W] [--height H] [--font NAME] [--size N] [--full] [--pages DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
caller=$(pwd)
command=${1:-}
[ -n "$command" ] || { echo "usage: ./run.sh kestrane ARGS... | ./run.sh render PAGE.html OUT.png" >&2; exit 1; }
shift
(
  cd "$here"
  source tools/setup.sh
  ensure_packages
  log=$(mktemp)
  build_main >"$log" 2>&1 || { cat "$log"; rm -f "$log"; exit 1; }
  rm -f "$log"
) || exit 1
cd "$caller"
case "$command" in
  kestrane) exec "$here/build/bin/kestrane" "$@" ;;
  render) exec "$here/build/bin/render" "$@" ;;
  *) echo "run.sh: unknown command '$command'" >&2; exit 1 ;;
esac
