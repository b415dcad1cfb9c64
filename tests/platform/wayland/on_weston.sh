#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command as a client of a headless Weston of its own (its own runtime
# folder and socket, the pixman renderer), with Qt set to its Wayland
# platform, and ends Weston afterwards. Exits 77, which ctest counts as
# skipped, where Weston is missing or does not start.
# Usage: on_weston.sh COMMAND [ARGUMENT ...]
set -euo pipefail

if ! command -v weston >/dev/null; then
  echo "weston not found: the Wayland test is skipped (Debian package weston)"
  exit 77
fi

runtime=$(mktemp -d)
chmod 700 "$runtime"
socket=velmora-test
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --socket=$socket \
  --width=1024 --height=768 --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null; rm -rf "$runtime"' EXIT

for _ in $(seq 100); do
  [[ -S $runtime/$socket ]] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.1
done
if [[ ! -S $runtime/$socket ]]; then
  echo "Weston did not start: the Wayland test is skipped. Its log:"
  cat "$runtime/weston.log"
  exit 77
fi

unset DISPLAY
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland "$@"
