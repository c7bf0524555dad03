# Shared by scripts/run and scripts/test: installs what is missing, then
# configures and builds one build folder. Sourced, not run.

TESSARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TESSARN_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
                  liballegro4-dev libshp-dev nlohmann-json3-dev xvfb xauth xdotool
                  imagemagick ccache clang-14 libclang-rt-14-dev)

# Installs the Debian packages that are not installed yet.
install_missing() {
  local missing=()
  for p in "${TESSARN_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
}

# build_tree DIR [cmake options...]: configures (once) and builds DIR.
build_tree() {
  local dir=$1; shift
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S "$TESSARN_ROOT" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}

# The fuzz build: clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-fuzz/ (the targets and their seeds).
TESSARN_FUZZ_DIR="$TESSARN_ROOT/build-fuzz"
fuzz_build() {
  CC=clang-14 CXX=clang++-14 build_tree "$TESSARN_FUZZ_DIR" -DTESSARN_FUZZ=ON -DTESSARN_BENCH=OFF
}

# The fuzz targets' names.
fuzz_targets() {
  local source
  for source in "$TESSARN_ROOT"/fuzz/*.cpp; do
    source=$(basename "$source" .cpp)
    [ "$source" != FuzzTarget ] && echo "$source"
  done
}

# fuzz_run TARGET SECONDS: one run from the seeds and the regression inputs;
# its log in build-fuzz/fuzz/logs/TARGET.log; non-zero on any finding.
fuzz_run() {
  local target=$1 seconds=$2 out="$TESSARN_FUZZ_DIR/fuzz"
  local program="$out/fuzz_$target"
  if [ ! -x "$program" ]; then
    echo "No fuzz target $target" >&2
    return 2
  fi
  mkdir -p "$out/corpus/$target" "$out/artifacts/$target" "$out/logs"
  local inputs=("$out/seeds/$target")
  [ -d "$TESSARN_ROOT/fuzz/corpus/$target" ] && inputs+=("$TESSARN_ROOT/fuzz/corpus/$target")
  local status=0
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$out/artifacts/$target/" "$out/corpus/$target" "${inputs[@]}" \
      >"$out/logs/$target.log" 2>&1 || status=$?
  local stats
  stats=$(grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "$out/logs/$target.log" | tail -2 | tr '\n' ' ')
  if [ $status -ne 0 ]; then
    echo "FUZZ $target: FAILED (exit $status), reproducer in $out/artifacts/$target/, log $out/logs/$target.log"
    grep -E "ERROR: |SUMMARY: |runtime error" "$out/logs/$target.log" | head -5
    return 1
  fi
  echo "FUZZ $target: clean for ${seconds}s: $stats"
}
