#!/bin/sh
# Installs the Debian packages the build, the tests and the editor need
# (MinGW-w64 and wine64 for the Windows build of mirl-tool and its tests;
# gcc-multilib and qemu-user to run 32-bit x86 players on a 64-bit kernel).
# Then freeglut's source for the Windows editor (scripts/fetch-freeglut.sh,
# into a cache outside the source tree; one line says so when it cannot).
# Idempotent: does nothing (and never touches the network) when all are present.
set -e
freeglut_source() { "$(dirname "$0")/fetch-freeglut.sh" >/dev/null || true; }

PACKAGES="
  build-essential cmake pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri
  libgtk-3-dev
  libosd-dev
  xvfb xauth xdotool x11-utils imagemagick
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64
  gcc-multilib qemu-user
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && freeglut_source && exit 0

echo "install-deps: installing$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
freeglut_source
