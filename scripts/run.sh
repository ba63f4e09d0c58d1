#!/usr/bin/env bash
# Installs the optimised build into the user's own run folder and starts it there. The program
# keeps its cards and settings beside its executable, so rebuilding or cleaning the source tree
# never touches them; only the program's own files are replaced.
set -euo pipefail
build=$1
run_dir=$2
mkdir -p "$run_dir"
cmake --install "$build" --prefix "$run_dir" >/dev/null
cd "$run_dir"
exec "$run_dir/velkora"
