#!/usr/bin/env bash
# Runs a Windows test program under Wine on an X server of its own.
# Usage: with-screen.sh <Wine prefix> <program.exe> [arguments...]
set -euo pipefail
prefix=$1
shift
program=$(realpath "$1")
shift
source "$(dirname "$0")/screen.sh"
start_screen
start_wine
timeout 300 wine64 "$program" "$@"
