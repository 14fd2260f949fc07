# Shared by the scripts: the repository root, the build tree and its Wine prefix.
VELQUIST_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELQUIST_BUILD=${VELQUIST_BUILD:-$VELQUIST_ROOT/build}
export WINEPREFIX=$VELQUIST_BUILD/wineprefix
export WINEDEBUG=-all

velquist_packages=(g++-mingw-w64-x86-64-posix cmake ninja-build googletest wine wine64
                   xvfb xauth imagemagick qpdf poppler-utils xdotool xclip python3 fonts-dejavu-core
                   fonts-dejavu-extra)

# Installs only what is missing, so a prepared machine pays nothing.
velquist_setup() {
    local missing=() package
    for package in "${velquist_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

velquist_build() {
    if [ ! -f "$VELQUIST_BUILD/build.ninja" ]; then
        cmake -S "$VELQUIST_ROOT" -B "$VELQUIST_BUILD" -G Ninja \
              -DCMAKE_TOOLCHAIN_FILE="$VELQUIST_ROOT/cmake/mingw-w64.cmake" \
              -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build "$VELQUIST_BUILD" -- --quiet
}

# Creates the prefix and starts a persistent wineserver with its services detached from our
# output: otherwise every ctest entry waits for Wine's service processes to close the pipe.
velquist_wine_up() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i </dev/null >/dev/null 2>&1
        # wineboot's server lingers a few seconds and cannot be made persistent: let it end.
        wineserver -w </dev/null >/dev/null 2>&1
    fi
    # Exits with 2 when an earlier run's persistent server still serves the prefix, which is as good.
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
    # Wine has no Segoe UI. The condensed DejaVu face is close to its width, so the fixed-width
    # buttons keep their labels whole, and it has the ↻ and ◆ the window draws. Written on every
    # run, so an older prefix takes it too.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /d 'DejaVu Sans Condensed' /f \
        </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

velquist_wine_down() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
}
