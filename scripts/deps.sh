# Debian packages nuv needs, and a function that installs the missing ones.
# Sourced by run.sh and test.sh; works as root without a prompt, or through
# sudo when it needs no password.

NUV_RUN_PACKAGES=(cmake make g++ qt6-base-dev libexpat1-dev libcmark-dev fonts-ipafont-gothic xdg-utils shared-mime-info desktop-file-utils)
NUV_TEST_PACKAGES=("${NUV_RUN_PACKAGES[@]}"
  clang libclang-rt-14-dev llvm libgtest-dev libgmock-dev libbenchmark-dev libc-bin grep
  txt2pdbdoc xvfb xauth fonts-dejavu-core xdotool xclip x11-xserver-utils x11-apps dpkg-dev man-db gzip fp-compiler lua5.4 python3 libqscintilla2-qt6-dev
  python3-pygments perl-modules-5.36 libruby3.1 openjdk-17-demo unzip gnucobol3 gawk poppler-utils
  cmark libxml2-utils chromium)

nuv_install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "nuv: need root to install: ${missing[*]}" >&2; return 1; }
    sudo=(sudo -n)
  fi
  echo "nuv: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" ||
    { "${sudo[@]}" apt-get update -q && "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; }
}
