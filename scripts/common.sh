# Shared by scripts/run and scripts/test: installs what is missing, then
# configures and builds one build folder. Sourced, not run.

TESSARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TESSARN_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
                  liballegro4-dev libshp-dev nlohmann-json3-dev xvfb xauth xdotool
                  imagemagick ccache)

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
