#!/usr/bin/env bash
# Installs what building, testing and running Planora needs on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake g++ pkg-config \
  qt6-base-dev libgl-dev zlib1g-dev libgdk-pixbuf-2.0-dev qtbase5-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libspng-dev libjpeg62-turbo-dev libgif-dev libstb-dev \
  clang libclang-rt-14-dev \
  netpbm ffmpeg \
  desktop-file-utils shared-mime-info fonts-dejavu-core \
  dpkg-dev lintian bsdutils \
  >/dev/null
