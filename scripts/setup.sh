#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need.
# Only missing packages are installed, so a second run costs one dpkg query.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config git
  qt6-base-dev qt6-image-formats-plugins libgl-dev
  zlib1g-dev libjpeg62-turbo-dev libtomlplusplus-dev libxcb1-dev
  libmpv-dev libfluidsynth-dev timgm6mb-soundfont
  fonts-dejavu-core
  # tests, fuzzing, benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
  clang libclang-rt-14-dev python3
  # end-to-end tests and the demo
  xvfb x11-utils xdotool imagemagick ffmpeg
)

# One dpkg -s for all of them: packages it does not report as installed are missing.
installed=$(dpkg -s "${packages[@]}" 2>/dev/null |
            awk '/^Package: /{p=$2} /^Status: install ok installed/{print p}' || true)
missing=()
for p in "${packages[@]}"; do
  grep -qxF "$p" <<<"$installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}" >&2
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
  else
    echo "setup: need root or sudo to install: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
