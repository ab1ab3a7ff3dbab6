#!/usr/bin/env bash
# Installs every Debian package that building, testing, packaging and running kr31 needs.
# Idempotent: when everything is present it does nothing. Uses sudo when not root.
set -euo pipefail

packages=(
  g++ clang cmake ninja-build ccache make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-translations-l10n qt6-image-formats-plugins
  libqscintilla2-qt6-dev libasound2-dev libasound2-plugins alsa-utils
  libpulse-dev pulseaudio pulseaudio-utils
  fonts-ipafont-gothic fonts-ipafont-mincho
  poppler-utils xvfb xauth xdotool x11-apps imagemagick desktop-file-utils shared-mime-info
  libgtest-dev libbenchmark-dev
  # make package and scripts/check-package.sh
  dpkg-dev file lintian appstream xdg-utils libglib2.0-bin bash-completion man-db
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
