# Shared by scripts/run and scripts/test: installs what the build needs, configures the
# three build trees, and brings up Wine on a display.

KEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KEL_BUILD="${KEL_BUILD:-$KEL_ROOT/build}"

KEL_PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest libbenchmark-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev wine wine64 xvfb xauth x11-utils libgl1-mesa-dri imagemagick
    locales xdotool fonts-wine fonts-liberation libassimp-dev libtinyobjloader-dev
    libtinygltf-dev nlohmann-json3-dev libstb-dev assimp-testmodels assimp-utils nsis
    blender python3-numpy libmeshoptimizer-dev dpkg-dev libdragonbox-dev
)

kel_say() { printf '== %s\n' "$*"; }

kel_missing_packages() {
    local package
    for package in "${KEL_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            printf '%s\n' "$package"
    done
}

kel_install() {
    local missing
    mapfile -t missing < <(kel_missing_packages)
    if ((${#missing[@]} > 0)); then
        kel_say "installing ${missing[*]}"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
    local name
    for name in it_IT en_US; do
        if ! locale -a 2>/dev/null | grep -qx "$name.utf8"; then
            kel_say "generating the $name.UTF-8 locale"
            localedef -i "$name" -c -f UTF-8 "$name.UTF-8"
        fi
    done
}

# kel_configure TREE CMAKE-ARGS...: configures a build tree with the script's options.
kel_configure() {
    local tree="$KEL_BUILD/$1"
    shift
    cmake -S "$KEL_ROOT" -B "$tree" -G Ninja "$@" >/dev/null
}

kel_configure_native() {
    kel_configure native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEL_BENCH=ON
}

kel_configure_sanitize() {
    kel_configure sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DKEL_SANITIZE=ON -DKEL_FUZZ=ON
}

kel_configure_windows() {
    kel_meshoptimizer_source
    kel_configure windows -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$KEL_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DKEL_MESHOPTIMIZER_SOURCE="$KEL_MESHOPTIMIZER_SOURCE"
}

# meshoptimizer for the Windows tree is built from the same source as the machine's own
# libmeshoptimizer-dev: Debian's source package of that very version, from the release the
# machine runs, fetched through a private apt configuration under build/ (the machine's own
# lists stay untouched; apt checks the files against the release's signed index) and
# unpacked with Debian's patches.
KEL_MESHOPTIMIZER_SOURCE="$KEL_BUILD/meshoptimizer/source"
kel_meshoptimizer_source() {
    [[ -f "$KEL_MESHOPTIMIZER_SOURCE/src/meshoptimizer.h" ]] && return 0
    local apt="$KEL_BUILD/meshoptimizer/apt"
    local release version
    release=$(. /etc/os-release && printf '%s' "$VERSION_CODENAME")
    version=$(dpkg-query -W -f='${source:Version}' libmeshoptimizer-dev)
    kel_say "fetching Debian's meshoptimizer $version source ($release)"
    rm -rf "$KEL_BUILD/meshoptimizer"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/download"
    local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    local suite
    for suite in "debian $release" "debian $release-updates" "debian-security $release-security"; do
        printf 'deb-src [signed-by=%s] http://deb.debian.org/%s main\n' "$keyring" "$suite"
    done >"$apt/sources.list"
    local options=(-o Dir::Etc::sourcelist="$apt/sources.list" -o Dir::Etc::sourceparts=-
                   -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache"
                   -o APT::Sandbox::User=root -qq)
    apt-get "${options[@]}" update >/dev/null
    (cd "$apt/download" &&
        apt-get "${options[@]}" source --download-only "meshoptimizer=$version" >/dev/null)
    dpkg-source --no-copy -x "$apt"/download/meshoptimizer_*.dsc "$KEL_MESHOPTIMIZER_SOURCE" \
        >/dev/null 2>&1
    [[ -f "$KEL_MESHOPTIMIZER_SOURCE/src/meshoptimizer.h" ]] ||
        { kel_say "Debian's meshoptimizer source could not be fetched" >&2; return 1; }
}

kel_build() {
    kel_say "building $1"
    cmake --build "$KEL_BUILD/$1"
}

kel_wine_environment() {
    export WINEPREFIX="$KEL_BUILD/wineprefix"
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    export WINEDEBUG=-all
    export WINEARCH=win64
}

# Starts a virtual display when there is none; KEL_XVFB_PID is then set.
kel_start_display() {
    KEL_XVFB_PID=
    [[ -n "${DISPLAY:-}" ]] && return 0
    local number
    for number in $(seq 90 130); do
        [[ -e "/tmp/.X11-unix/X$number" || -e "/tmp/.X$number-lock" ]] && continue
        Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        KEL_XVFB_PID=$!
        export DISPLAY=":$number"
        local tries
        for tries in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kel_say "the virtual display :$number did not start" >&2
        return 1
    done
}

# Display, Wine prefix (made once) and one persistent wineserver for the whole run.
kel_start_wine() {
    kel_wine_environment
    kel_start_display
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        kel_say "making the Wine prefix"
        wine wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    # A wineserver already running for the prefix (another run's) serves this one as well,
    # and is left to whoever started it. KEL_PERSISTENT_WINESERVER=no starts none: the
    # first program starts one that ends with the prefix's last program.
    KEL_OWN_WINESERVER=
    if [[ "${KEL_PERSISTENT_WINESERVER:-yes}" == yes ]] && ! kel_wineserver_running; then
        wineserver -p 2>/dev/null && KEL_OWN_WINESERVER=yes
    fi
    # Without a window manager Wine waits two seconds for every managed top-level window
    # with children to be withdrawn when it is hidden or destroyed; unmanaged windows, which
    # Wine frames itself, are withdrawn at once.
    if [[ ! -f "$WINEPREFIX/.kel-unmanaged" ]]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        touch "$WINEPREFIX/.kel-unmanaged"
    fi
    kel_prefix_fonts
    # Wine's background services start with the first program and keep its standard
    # output open; started here, they hold /dev/null instead of ctest's pipe, which
    # ctest would otherwise wait on for ever.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Wine does not find the faces of the fonts-wine package in its data folder here, so the
# caption buttons of the windows it frames show Marlett's letters ("0 1 r"); fonts in the
# prefix's own Fonts folder are always found. The program names Tahoma, which Wine ships,
# and Arial and Lucida Console, which take the Liberation faces of the same widths.
kel_prefix_fonts() {
    [[ -f "$WINEPREFIX/.kel-fonts" ]] && return 0
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/{marlett,tahoma,tahomabd}.ttf "$fonts/"
    cp /usr/share/fonts/truetype/liberation/Liberation{Sans,Mono}-*.ttf "$fonts/"
    local replacements='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$replacements" /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1
    wine reg add "$replacements" /v 'Lucida Console' /d 'Liberation Mono' /f >/dev/null 2>&1
    touch "$WINEPREFIX/.kel-fonts"
}

# Whether a wineserver serves the prefix: one started for it carries its WINEPREFIX.
kel_wineserver_running() {
    local pid
    for pid in $(pgrep -u "$(id -u)" wineserver); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            return 0
    done
    return 1
}

# Stops the wineserver only when this script started it, with every program it serves,
# and the display when this script started it.
kel_stop_wine() {
    if [[ -n "${KEL_OWN_WINESERVER:-}" ]]; then
        wineserver -k 2>/dev/null || true
    fi
    if [[ -n "${KEL_XVFB_PID:-}" ]]; then
        kill "$KEL_XVFB_PID" 2>/dev/null || true
        wait "$KEL_XVFB_PID" 2>/dev/null || true
    fi
}
