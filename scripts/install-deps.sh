#!/usr/bin/env bash
# Installs the Debian packages that the build, the demo and the tests need.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev          # unit tests
  libcgal-dev libgmp-dev libmpfr-dev # exact geometric predicates
  libcairo2-dev                      # drawing pictures (tzcad --plot)
  libmimalloc-dev                    # tzcad's allocator
  python3 python3-ezdxf python3-matplotlib  # independent DXF audit and rendering in tests
  python3-numpy                      # the sample project's generator and its checks
  libxml2-utils                      # xmllint for LandXML schema checks
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
