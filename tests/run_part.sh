#!/usr/bin/env bash
# run_part.sh PROGRAM PART PARTS: runs part PART (1..PARTS) of a QtTest program. The program
# lists its test functions and data rows (-datatags); this part runs every PARTS-th of them,
# starting at the PART-th. The parts together run each function and row exactly once, and a
# row added to the program lands in one of them without anything else to change.
#
# The end-to-end programs spend their minute waiting on real-time timers and the simulator,
# hardly using the CPU; split in parts, ctest runs those side by side.
set -euo pipefail
program="$1"
part="$2"
parts="$3"

listing="$("$program" -datatags)"
mapfile -t entries <<<"$listing"
selected=()
for i in "${!entries[@]}"; do
  (( i % parts == part - 1 )) || continue
  # "Class function" or "Class function tag"; a tag may contain spaces.
  read -r _ function tag <<<"${entries[$i]}"
  if [[ -z "$function" || "$tag" == *__global__* ]]; then
    echo "run_part.sh: cannot split this listing line: ${entries[$i]}" >&2
    exit 1
  fi
  selected+=("$function${tag:+:$tag}")
done
if [ ${#selected[@]} -eq 0 ]; then
  # Without arguments the program would run everything.
  echo "run_part.sh: part $part of $parts of $program is empty" >&2
  exit 1
fi
exec "$program" "${selected[@]}"
