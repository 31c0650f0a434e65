# Sourced by the scripts that run Windows binaries: the project's own Wine
# environment, inside the build tree, never ~/.wine. An i686 tree (its file
# wine-arch says win32) runs under the 32-bit Wine unpacked into BUILD_DIR/wine32
# by scripts/wine32-unpack.sh; any other under the system's 64-bit Wine.
# Sets $wine and $wineserver, the commands to run.
# Usage: source scripts/wine-env.sh BUILD_DIR
wine_build_dir=$(cd "${1:?build directory}" && pwd)
export WINEPREFIX="$wine_build_dir/wineprefix"
if [ "$(cat "$wine_build_dir/wine-arch" 2>/dev/null)" = win32 ]; then
  export WINEARCH=win32
  wine_tree="$wine_build_dir/wine32"
  wine="$wine_tree/usr/lib/wine/wine"
  wineserver="$wine_tree/usr/lib/wine/wineserver32"
  # Wine starts its server and new processes with these, not the system's.
  export WINELOADER="$wine" WINESERVER="$wineserver"
  # The 32-bit libraries unpacked beside it (FreeType, Fontconfig and theirs).
  export LD_LIBRARY_PATH="$wine_tree/usr/lib/i386-linux-gnu:$wine_tree/lib/i386-linux-gnu"
  unset wine_tree
else
  export WINEARCH=win64
  wine=wine
  wineserver=wineserver
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono/Gecko install prompts
export LANG=C.UTF-8 LC_ALL=C.UTF-8        # fixed ANSI code page everywhere
unset DISPLAY WAYLAND_DISPLAY
unset wine_build_dir
