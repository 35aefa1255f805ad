#!/usr/bin/env bash
# Builds the parsers' libFuzzer targets with clang and sanitizers in build-fuzz/
# and runs each of them for SECONDS (default 60), one after another. New inputs
# go to build-fuzz/fuzz/corpus/TARGET (the seeds in tests/fuzz/corpus and the
# kept findings in tests/fuzz/regressions stay as they are); a crash, hang, leak or sanitizer report leaves its input in
# build-fuzz/fuzz/findings/. Prints a table of executions, coverage and result;
# exits 1 when any target found something.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${KORVELTA_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-60}"
shift || true

"$root/scripts/install-deps.sh"
fuzz_packages=(clang libclang-rt-14-dev)
missing=()
for p in "${fuzz_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVELTA_FUZZ=ON >/dev/null
cmake --build "$build" --target korvelta_fuzzers -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(cd "$build" && ctest -N -L fuzz | sed -n 's/^ *Test *#[0-9]*: //p')
fi

work="$build/fuzz"
mkdir -p "$work/findings" "$work/logs"
status=0
rows=()
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  name="${name/picture_/picture-}"
  inputs=("$root/tests/fuzz/corpus/$name")
  # Inputs that once failed are fuzzed from again.
  [ -d "$root/tests/fuzz/regressions/$name" ] && inputs+=("$root/tests/fuzz/regressions/$name")
  mkdir -p "$work/corpus/$target"
  log="$work/logs/$target.log"
  echo "== $target: $seconds s" >&2
  result=ok
  extra=()
  # The program decodes metafiles in a child process (korvelta-picture-reader):
  # a fault of libwmf or libemf2svg is contained there, so the run goes on
  # past it and each such input is sorted out below.
  case "$target" in fuzz_picture_wmf|fuzz_picture_emf)
    extra=(-fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1) ;;
  esac
  QT_QPA_PLATFORM=offscreen "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$work/findings/$target-" "${extra[@]}" \
    "$work/corpus/$target" "${inputs[@]}" >"$log" 2>&1 || result="FOUND (see $log)"
  if [ ${#extra[@]} -gt 0 ]; then
    ours=0
    library=0
    alone=0
    for finding in "$work/findings/$target"-*; do
      [ -e "$finding" ] || continue
      # A fault whose stack reaches a metafile library before our decoder is the
      # library's; one that does not come again on its own followed an earlier
      # input in the same process (the libraries keep state between calls).
      if replay=$(QT_QPA_PLATFORM=offscreen timeout 60 "$build/tests/fuzz/$target" -rss_limit_mb=4096 -timeout=10 \
          "$finding" 2>&1); then
        alone=$((alone + 1))
        continue
      fi
      first=$(grep -m1 -o -E 'libwmf[a-z-]*|libemf2svg|libuemf|PictureDecoder|MetafileReader' <<<"$replay" || true)
      case "$first" in libwmf*|libemf2svg|libuemf) library=$((library + 1)) ;; *) ours=$((ours + 1)) ;; esac
    done
    if [ $ours -gt 0 ]; then
      result="FOUND $ours in our code (see $work/findings)"
    else
      result="ok; library faults (contained in the reader child): $library, not repeatable alone: $alone"
    fi
  fi
  [[ "$result" == ok* ]] || status=1
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  # A forked run prints no final stats; its progress lines count the executions.
  [ -n "$execs" ] || execs=$(grep -o -E '^#[0-9]+' "$log" | tail -n 1 | tr -d '#')
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  units=$(ls "$work/corpus/$target" | wc -l)
  rows+=("$(printf '%-22s %10s %8s %8s %8s  %s' "$target" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$units" "$result")")
done

printf '%-22s %10s %8s %8s %8s  %s\n' target executions edges features corpus result
printf '%s\n' "${rows[@]}"
exit $status
