#!/usr/bin/env bash
# bench/fuzz-long.sh [SECONDS]
# The long fuzzing run: every target for SECONDS (30 minutes by default),
# growing the corpus under build-sanitized/corpus that later runs start from.
# The per-target executions, coverage and findings it prints are the figures
# to quote; the full libFuzzer output is under build-sanitized/logs.
set -euo pipefail
VANTO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
exec "$VANTO_ROOT/scripts/fuzz.sh" "${1:-1800}"
