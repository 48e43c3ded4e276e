#!/usr/bin/env bash
# Installs the Debian packages the editor needs, and only those that are missing.
#   install-deps.sh run    what building and running the editor needs
#   install-deps.sh test   that plus what the tests need
set -euo pipefail

run_packages=(
  g++ cmake ninja-build
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libgl-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-dejavu-core
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libfuzzer-14-dev libclang-rt-14-dev
  desktop-file-utils appstream
)

wanted=("${run_packages[@]}")
[ "${1:-run}" = "test" ] && wanted+=("${test_packages[@]}")

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
