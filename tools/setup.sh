# Sourced by test.sh and run.sh: installs the Debian packages the project needs
# when any is missing (apt-get update runs once, only then), and builds.
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  libtinyxml-dev fonts-liberation fonts-dejavu-core fonts-wqy-microhei libfreetype-dev libfontconfig-dev zlib1g-dev
  libjpeg62-turbo-dev
  libgdiplus libgtest-dev libgmock-dev libbenchmark-dev libpng-dev libgif-dev
)

ensure_packages() {
  local missing=()
  local package
  for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages and not root; install them: ${missing[*]}" >&2
    return 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fc-cache -f >/dev/null 2>&1 || true
}

# build_main: the ordinary optimised build in build/.
build_main() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --parallel "$(nproc)"
}
