#!/usr/bin/env bash
# Installs what building and testing homeclick needs on Debian (as root), and
# nothing when it is all there already.
set -euo pipefail

packages=(
    cmake ninja-build g++ python3
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-i686-dev mingw-w64-x86-64-dev
    googletest clang clang-format libclang-rt-14-dev
    wine wine32:i386 wine64 xvfb xdotool x11-utils xauth imagemagick fonts-wqy-microhei locales
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

for locale in en_US zh_CN; do
    if ! locale -a 2>/dev/null | grep -qi "^${locale}\.utf-\?8$"; then
        sed -i "s/^# *${locale}.UTF-8/${locale}.UTF-8/" /etc/locale.gen
        need_locales=1
    fi
done
if [ -n "${need_locales:-}" ]; then
    locale-gen
fi

# Wine runs 32-bit Windows programs in 32-bit Linux processes. Where the kernel
# cannot run those (some virtual machines leave IA-32 emulation out), they run
# under qemu's user-mode emulator instead: slowly, but for real.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "this kernel does not run 32-bit programs: registering qemu-i386 for them"
    dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed' ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user-static
    binfmt=/proc/sys/fs/binfmt_misc
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
    if [ ! -e "$binfmt/qemu-i386" ]; then
        printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
            >"$binfmt/register"
    fi
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "32-bit programs still do not run" >&2; exit 1; }
fi
