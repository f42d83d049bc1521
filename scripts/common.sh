# Shared by the project's scripts: installs what is missing, builds, and brings Wine and a display up and down.
# shellcheck shell=bash

TESSEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TESSEL_BUILD=${TESSEL_BUILD:-$TESSEL_ROOT/build}
TESSEL_BUILD32=${TESSEL_BUILD32:-$TESSEL_ROOT/build-i686}
TESSEL_JOBS=${TESSEL_JOBS:-$(nproc 2>/dev/null || echo 2)}
# Paths below the tree are hashed relative to it, so every checkout shares the compiler cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$TESSEL_ROOT}

# The fonts the pictures and the tests draw with, each from its Debian package (file -> package):
# Wine's own faces (Tahoma, the bitmap MS Sans Serif that is the controls' default font, Marlett for
# the caption buttons), the metric-compatible stand-ins for Arial, Times New Roman and Courier New
# that Wine itself recommends, and outline fonts for Japanese (with Greek) and for emoji, which GDI
# draws as it draws any other outline font.
declare -A TESSEL_FONT_PACKAGES=(
  [/usr/share/wine/fonts/tahoma.ttf]=fonts-wine
  [/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf]=fonts-liberation
  [/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf]=fonts-vlgothic
  [/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf]=fonts-symbola
)

say() { printf '[tessel] %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"
  elif command -v sudo >/dev/null 2>&1; then sudo "$@"
  else say "need root to run: $*"; return 1; fi
}

tessel_install_deps() {
  local missing=()
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix)
  command -v i686-w64-mingw32-g++-posix   >/dev/null || missing+=(g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix)
  command -v x86_64-w64-mingw32-widl      >/dev/null || missing+=(mingw-w64-tools)
  command -v wine     >/dev/null || missing+=(wine wine64)
  [ -x /usr/lib/wine/wine64 ] || missing+=(wine64)
  command -v Xvfb     >/dev/null || missing+=(xvfb)
  command -v xauth    >/dev/null || missing+=(xauth)
  command -v cmake    >/dev/null || missing+=(cmake)
  [ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
  local font
  for font in "${!TESSEL_FONT_PACKAGES[@]}"; do [ -f "$font" ] || missing+=("${TESSEL_FONT_PACKAGES[$font]}"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# tessel_build <arch> <dir> [targets...]
tessel_build() {
  local arch=$1 dir=$2; shift 2
  # TESSEL_WARNINGS_AS_ERRORS=ON (as CI sets it) stops the build at any warning.
  local werror=OFF
  case "${TESSEL_WARNINGS_AS_ERRORS:-}" in 1|ON|on|yes|true) werror=ON ;; esac
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    local launcher=()
    # Rebuilds of unchanged sources (a second tree, a fresh clone) come from the compiler cache when there is one.
    command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$TESSEL_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" -DTESSEL_WARNINGS_AS_ERRORS=$werror \
      -DCMAKE_TOOLCHAIN_FILE="$TESSEL_ROOT/cmake/toolchain-$arch.cmake" >/dev/null
  elif ! grep -q "^TESSEL_WARNINGS_AS_ERRORS:BOOL=$werror\$" "$dir/CMakeCache.txt"; then
    cmake -S "$TESSEL_ROOT" -B "$dir" -DTESSEL_WARNINGS_AS_ERRORS=$werror >/dev/null
  fi
  local t=()
  for target in "$@"; do t+=(--target "$target"); done
  cmake --build "$dir" -j "$TESSEL_JOBS" "${t[@]}"
}

TESSEL_XVFB_PID=
TESSEL_IDLE_PID=

tessel_display_up() {
  if [ -n "${TESSEL_DISPLAY:-}" ]; then export DISPLAY=$TESSEL_DISPLAY; return 0; fi
  # Always an own display of a known size, so that screenshots and pixel tests do not depend on the desk.
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do
    if [ -f "/tmp/.X$n-lock" ] && ! kill -0 "$(tr -d ' ' < "/tmp/.X$n-lock")" 2>/dev/null; then
      rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"; break   # stale, from a run that was killed
    fi
    n=$((n + 1))
  done
  Xvfb ":$n" -screen 0 "${TESSEL_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 </dev/null &
  TESSEL_XVFB_PID=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { say "Xvfb did not start"; return 1; }
  export DISPLAY=":$n"
}

# Wine waits up to two seconds for a window manager to confirm each top-level window it hides or
# destroys. Our own Xvfb has no window manager, so there Wine places the windows itself (Managed=N);
# on a display that was given to us the desk's window manager keeps them. Set in every run, since
# one prefix serves both.
tessel_wine_window_manager() {
  local key='HKCU\Software\Wine\X11 Driver'
  if [ -n "$TESSEL_XVFB_PID" ]; then
    grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null ||
      wine reg add "$key" /v Managed /d N /f >/dev/null 2>&1 </dev/null || say "could not set Managed=N in $WINEPREFIX"
  elif grep -q '^"Managed"=' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg delete "$key" /v Managed /f >/dev/null 2>&1 </dev/null || true
  fi
}

# Every picture is drawn with the same faces on every machine. This Wine does not look for its own
# fonts where Debian's fonts-wine puts them, so the prefix gets them in its Fonts folder, where
# Windows keeps them; the names that programs ask for and that no package here provides are
# replaced by the faces installed for them (a font of that name, were it ever installed, would win).
tessel_wine_fonts() {
  local own=/usr/share/wine/fonts fonts="$WINEPREFIX/drive_c/windows/Fonts" copied=0
  mkdir -p "$fonts"
  # (diff's own status is not looked at: the callers run with pipefail)
  local differ
  differ=$(diff -rq "$own" "$fonts" 2>&1 || true)
  if [ -n "$differ" ] && grep -qv "^Only in $fonts" <<<"$differ"; then
    cp -f "$own"/* "$fonts/" && copied=1
  fi
  local reg="$WINEPREFIX/tessel-fonts.reg"
  local wanted
  wanted=$(cat <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Helvetica"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"
"MS Gothic"="VL Gothic"
"MS UI Gothic"="VL PGothic"
"MS PGothic"="VL PGothic"
"Segoe UI Symbol"="Symbola"
"Segoe UI Emoji"="Symbola"
REG
)
  # Imported once per prefix, and again whenever the list changes.
  [ "$copied" = 0 ] && [ -f "$reg" ] && [ "$(cat "$reg")" = "$wanted" ] && return 0
  printf '%s\n' "$wanted" > "$reg.new"
  if wine regedit /S "$(winepath -w "$reg.new" 2>/dev/null)" >/dev/null 2>&1 </dev/null; then
    mv -f "$reg.new" "$reg"
  else
    say "could not set the font replacements in $WINEPREFIX"
  fi
}

# tessel_wine_up <build dir>: a private prefix for the tree, a persistent wineserver and one idle process.
tessel_wine_up() {
  local dir=$1
  export WINEPREFIX="$dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 </dev/null
  if [ ! -f "$WINEPREFIX/system.reg" ] || ! wine cmd /c exit >/dev/null 2>&1 </dev/null; then
    say "creating Wine prefix $WINEPREFIX"
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"; mkdir -p "$WINEPREFIX"
    wineserver -p >/dev/null 2>&1 </dev/null
    wineboot -i >/dev/null 2>&1 </dev/null
  fi
  tessel_wine_window_manager
  tessel_wine_fonts
  # A run stopped while a program ran at another resolution (tests/RunAtResolution.cmake) leaves the
  # prefix's LogPixels behind: every program after it would draw at that resolution.
  if awk '/^\[/ { desk = ($0 ~ /^\[Control Panel\\\\Desktop\]/) } desk && /^"LogPixels"=/ { found = 1 }
          END { exit !found }' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 </dev/null || true
  fi
  if [ -f "$dir/tessel_idle.exe" ]; then
    setsid wine "$dir/tessel_idle.exe" >/dev/null 2>&1 </dev/null &
    TESSEL_IDLE_PID=$!
  fi
  if [ -f "$dir/TesselOCX.ocx" ]; then
    wine regsvr32 /s "$dir/TesselOCX.ocx" >/dev/null 2>&1 </dev/null || { say "registration of TesselOCX.ocx failed"; return 1; }
  fi
}

tessel_down() {
  [ -n "${WINEPREFIX:-}" ] && { wineserver -k >/dev/null 2>&1 || true; }
  [ -n "$TESSEL_IDLE_PID" ] && { kill "$TESSEL_IDLE_PID" 2>/dev/null || true; }
  [ -n "$TESSEL_XVFB_PID" ] && { kill "$TESSEL_XVFB_PID" 2>/dev/null || true; wait "$TESSEL_XVFB_PID" 2>/dev/null || true; }
  return 0
}
