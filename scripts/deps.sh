# Sourced by the other scripts: installs the Debian packages the build and the tests need, only
# those that are missing. As root through apt-get; otherwise through sudo.
tarnwick_install_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}" >&2
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# What building and running needs.
TARNWICK_BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev zlib1g-dev
  libdeflate-dev libicu-dev libgtest-dev libgmock-dev fonts-dejavu-core fonts-wine)
# What the tests use besides: real archive readers to check our archives against.
TARNWICK_TEST_PACKAGES=(unzip zip p7zip-full libarchive-tools python3)
# What building the Windows programs, running their tests under Wine (the windows' tests on a
# virtual display) and packaging them needs (dpkg-dev: to unpack the libdeflate source package
# that scripts/fetch-libdeflate-windows builds).
TARNWICK_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine64 wine
  python3 unzip dpkg-dev xvfb xdotool nsis)

# True when the Windows build can be made and its tests run here.
tarnwick_windows_tools_present() {
  command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null &&
    [ -x /usr/lib/wine/wine64 ] && [ -d /usr/src/googletest ] &&
    [ -f /usr/x86_64-w64-mingw32/include/zlib.h ] && command -v dpkg-source >/dev/null &&
    command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v makensis >/dev/null
}
