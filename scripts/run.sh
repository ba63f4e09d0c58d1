#!/usr/bin/env bash
# Starts the optimised build. The program keeps its files beside its executable.
set -euo pipefail
build=$1
exec "$build/app/velkora"
