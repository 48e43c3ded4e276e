#!/usr/bin/env bash
# Installs the Debian packages the editor needs, and only those that are missing.
#   install-deps.sh run    what building and running the editor needs
#   install-deps.sh test   that plus what the tests need
#   install-deps.sh tools  that plus screenshots under a virtual display and the .deb package
set -euo pipefail

# Qt's xcb and offscreen platform plugins come with libqt6gui6, which qt6-base-dev pulls in.
# Levelling's true-peak limiter is FFmpeg's (libavfilter8, which libavfilter-dev pulls in); the
# editor loads it when a limiter is first needed. The JSON output is written with nlohmann-json
# (headers only); site files
# are read and written with libcsv.
# The window's fixed layout is measured with narrow faces; on Debian that is DejaVu Sans
# Condensed from fonts-dejavu-extra. With plain DejaVu Sans alone it shrinks some texts to fit.
run_packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev libgl-dev
  libmpg123-dev libssl-dev libsndfile1-dev libsoxr-dev libebur128-dev libmp3lame-dev
  nlohmann-json3-dev libcsv-dev
  libavfilter-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-dejavu-core fonts-dejavu-extra
)
# The tests read PDFs as text (poppler-utils), measure loudness with a meter of their own
# (ffmpeg), make real FAT cards (dosfstools) mounted without root's kernel help (fusefat) and
# offer a disk service of their own on a private bus (dbus-daemon).
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libfuzzer-14-dev libclang-rt-14-dev
  desktop-file-utils appstream poppler-utils ffmpeg dosfstools fusefat dbus-daemon
)

# Screenshots, the package build, the benchmarks' reference tools (mpg123, lame) and the tools
# that make the audio fixtures (sox, lame, espeak-ng, and ffmpeg of the test packages).
tool_packages=(xvfb xauth xdotool imagemagick python3 dpkg-dev file mpg123 sox lame time espeak-ng)

wanted=("${run_packages[@]}")
case "${1:-run}" in
  test) wanted+=("${test_packages[@]}") ;;
  tools) wanted+=("${test_packages[@]}" "${tool_packages[@]}") ;;
esac

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
