#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only those
# that are missing. Run as root or as a user with sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev fonts-liberation
  zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-translations-l10n
  desktop-file-utils libxml2-utils shared-mime-info appstream
  dpkg-dev file lintian
  python3
)
# The fuzz targets need clang and its fuzzing runtime; only their command
# asks for them.
if [ "${1:-}" = fuzz ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
