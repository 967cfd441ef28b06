#!/usr/bin/env bash
# Runs every benchmark of the program (built in BUILD, default ./build, as
# RelWithDebInfo) and prints one table: each figure held to a target, the
# target, and whether it is met. Each benchmark's own output goes to
# bench-logs/<name>.log beside the build.
# Usage: bash bench/run_all.sh [BUILD]
set -u
build=${1:-build}
logs="$build/bench-logs"
mkdir -p "$logs"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# bench_export runs bench_sdd_message itself and prints its figures.
benches=(framework/bench_querycollection billing/bench_billing fees/bench_fee_duplication
         accounts/bench_cashbook reports/bench_report_banklist export/bench_export tools/bench_datareplace)
figures=$(mktemp)
trap 'rm -f "$figures"' EXIT
for b in "${benches[@]}"; do
  exe="$build/bench/$b"
  name=$(basename "$b")
  if [[ ! -x "$exe" ]]; then
    echo "FIGURE|$name: not built|0|-|<|0" >> "$figures"
    continue
  fi
  echo "running $name ..." >&2
  start=$(date +%s)
  if ! "$exe" > "$logs/$name.log" 2>&1; then
    echo "FIGURE|$name: failed (see $logs/$name.log)|0|-|<|0" >> "$figures"
  fi
  grep -a '^FIGURE|' "$logs/$name.log" >> "$figures"
  echo "  $(( $(date +%s) - start )) s" >&2
done
awk -F'|' '
  BEGIN { printf "%-42s %12s  %-12s %s\n", "Figure", "Value", "Target", "Met"; met = 0; all = 0 }
  {
    ok = ($5 == "<") ? ($3 + 0 < $6 + 0) : ($3 + 0 <= $6 + 0)
    if ($4 == "-") ok = 0
    all++; met += ok
    printf "%-42s %9s %-2s  %-2s %-9s %s\n", $2, $3, $4, $5, $6, ok ? "yes" : "NO"
  }
  END { printf "\n%d of %d targets met\n", met, all }' "$figures"
