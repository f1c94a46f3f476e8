#!/usr/bin/env bash
# Hardening runs: the whole suite, core and GUI tests, under AddressSanitizer
# and UBSan, then bounded libFuzzer runs of the drawing-file reader and of the
# DXF reader. Any sanitizer report, crash or leak fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

asan_dir=${ASAN_BUILD_DIR:-build-asan}
fuzz_dir=${FUZZ_BUILD_DIR:-build-fuzz}
fuzz_seconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-$(nproc)}

suppressions=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$suppressions" "$work"' EXIT

# Mesa's software driver does not free everything when a context is
# destroyed (its feedback and selection stages, for one). Those leaks are
# suppressed by the driver's module and nothing wider. The driver is
# preloaded so that it is still mapped when the leak check runs at exit;
# eglTerminate would otherwise unload it and leave the stacks unattributed.
#
# Qt keeps the current OpenGL context of a thread in an 8-byte holder that it
# does not always free; the GUI tests that run the control center show it,
# with no lumen7 frame in the stack. That one frame is suppressed, nothing
# around it.
mesa_driver=/usr/lib/$(gcc -print-multiarch)/dri/swrast_dri.so
cat >"$suppressions" <<SUPP
leak:$(basename "$mesa_driver")
leak:QOpenGLContextPrivate::setCurrentContext
SUPP
asan_preload="$(gcc -print-file-name=libasan.so) $mesa_driver"

echo "== core and GUI tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# -O1 builds faster than -O2 and the sanitizers see the same code. Under
# -fsanitize GCC 12 reports std::regex internals as maybe uninitialized,
# screens full of false positives that would hide real messages. One tree
# serves both suites: a core-only tree would compile the core a second time.
cmake -S . -B "$asan_dir" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DCMAKE_CXX_FLAGS="-Wno-maybe-uninitialized" \
  -DLUMEN7_SANITIZE=ON -DLUMEN7_CORE_ONLY=OFF -DLUMEN7_BENCH=OFF >/dev/null
cmake --build "$asan_dir" -j "$jobs"
# The sanitizer settings go to ctest and the tests only, not to the virtual
# X server that xvfb-run starts. Without a session bus, libdbus would start
# one for each virtual display, and Qt's D-Bus thread leaves the buffer of
# that connection behind at exit; the tests need no bus at all.
sanitized=(env DBUS_SESSION_BUS_ADDRESS=disabled: ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  LSAN_OPTIONS=suppressions=$suppressions:print_suppressions=0
  LD_PRELOAD="$asan_preload" LUMEN7_SANITIZER_PRELOAD="$asan_preload")
run=("${sanitized[@]}" ctest --output-on-failure --timeout 300 -j "$jobs")
(
  cd "$asan_dir"
  if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "${run[@]}"
  else
    "${run[@]}"
  fi
)

echo "== fuzzing the drawing-file reader for ${fuzz_seconds} s"
CC=clang CXX=clang++ cmake -S . -B "$fuzz_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMEN7_FUZZ=ON -DLUMEN7_CORE_ONLY=ON -DLUMEN7_BENCH=OFF >/dev/null
cmake --build "$fuzz_dir" --target lumen7_drawing_fuzz -j "$jobs"
# The fuzzer adds what it finds to its corpus: give it a copy. Inputs of up
# to 1 MiB hold slot counts of several hundred thousand; the corpus has
# files with long slot counts and with class references in the long tag
# form, and the dictionary the tokens of the layout.
cp tests/fuzz/corpus/* "$work/"
artifacts="$root/$fuzz_dir/fuzz-artifacts"
mkdir -p "$artifacts"
fuzz_log="$root/$fuzz_dir/fuzz.log"
set +e
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "$fuzz_dir/tests/fuzz/lumen7_drawing_fuzz" \
    -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 -max_len=1048576 \
    -dict="$root/tests/fuzz/drawing.dict" \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" >"$fuzz_log" 2>&1
status=$?
set -e
if [ "$status" -ne 0 ]; then
  cat "$fuzz_log" >&2
  echo "fuzzing failed (exit status $status); the input that failed is in $artifacts" >&2
  exit "$status"
fi
grep -E '^(Done|stat::)' "$fuzz_log"

# The DXF reader, under the same rule as the drawing-file reader.
dxf_seconds=${DXF_FUZZ_SECONDS:-$fuzz_seconds}
echo "== fuzzing the DXF reader for ${dxf_seconds} s"
cmake --build "$fuzz_dir" --target lumen7_dxf_fuzz -j "$jobs"
dxf_corpus="$work/dxf"
mkdir -p "$dxf_corpus"
cp tests/fuzz/corpus_dxf/* "$dxf_corpus/"
dxf_log="$root/$fuzz_dir/dxf-fuzz.log"
set +e
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "$fuzz_dir/tests/fuzz/lumen7_dxf_fuzz" \
    -max_total_time="$dxf_seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$artifacts/dxf-" "$dxf_corpus" >"$dxf_log" 2>&1
status=$?
set -e
if [ "$status" -ne 0 ]; then
  cat "$dxf_log" >&2
  echo "fuzzing the DXF reader failed (exit status $status); the input that failed is in $artifacts" >&2
  exit "$status"
fi
grep -E '^(Done|stat::)' "$dxf_log"

# Fuzzes one more reader: its target, what it reads, the folder of its first inputs, seconds.
fuzz_reader() {
  local target=$1 what=$2 inputs=$3 seconds=$4
  echo "== fuzzing the $what for ${seconds} s"
  cmake --build "$fuzz_dir" --target "$target" -j "$jobs"
  local corpus="$work/$target"
  mkdir -p "$corpus"
  if [ -n "$inputs" ]; then cp "$inputs"/* "$corpus/"; fi
  local log="$root/$fuzz_dir/$target.log"
  set +e
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$fuzz_dir/tests/fuzz/$target" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$corpus" >"$log" 2>&1
  local status=$?
  set -e
  if [ "$status" -ne 0 ]; then
    cat "$log" >&2
    echo "fuzzing the $what failed (exit status $status); the input that failed is in $artifacts" >&2
    exit "$status"
  fi
  grep -E '^(Done|stat::)' "$log"
}

fuzz_reader lumen7_clipboard_fuzz "clipboard reader" tests/fuzz/corpus_clipboard \
  "${CLIPBOARD_FUZZ_SECONDS:-$fuzz_seconds}"
fuzz_reader lumen7_typed_entry_fuzz "typed-entry parser" "" "${TYPED_FUZZ_SECONDS:-30}"
echo "== hardening passed"
