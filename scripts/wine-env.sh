# Sourced by the scripts that run Windows binaries: the project's own Wine
# environment, inside the build tree, never ~/.wine. The tree's file wine-arch
# chooses the Wine:
# - win32: an i686 tree, under the 32-bit Wine unpacked into BUILD_DIR/wine32
#   by scripts/wine32-unpack.sh, in a 32-bit prefix;
# - wow64: a folder of an i686 tree (BUILD_DIR/wow64), under the system's
#   64-bit Wine in a 64-bit prefix, which runs 32-bit programs as WoW64
#   processes on the 32-bit Wine unpacked into the parent tree (../wine32);
# - anything else: under the system's 64-bit Wine.
# Sets $wine and $wineserver, the commands to run, and $wine_kind, the kind.
# Usage: source scripts/wine-env.sh BUILD_DIR
wine_build_dir=$(cd "${1:?build directory}" && pwd)
export WINEPREFIX="$wine_build_dir/wineprefix"
wine_kind=$(cat "$wine_build_dir/wine-arch" 2>/dev/null || true)
if [ "$wine_kind" = win32 ]; then
  export WINEARCH=win32
  wine_tree="$wine_build_dir/wine32"
  wine="$wine_tree/usr/lib/wine/wine"
  wineserver="$wine_tree/usr/lib/wine/wineserver32"
  # Wine starts its server and new processes with these, not the system's.
  export WINELOADER="$wine" WINESERVER="$wineserver"
  # The 32-bit libraries unpacked beside it (FreeType, Fontconfig and theirs).
  export LD_LIBRARY_PATH="$wine_tree/usr/lib/i386-linux-gnu:$wine_tree/lib/i386-linux-gnu"
  unset wine_tree
elif [ "$wine_kind" = wow64 ]; then
  export WINEARCH=win64
  # A loader starts the other one from its own folder only (the real path of
  # the running loader, whatever WINELOADER says), so wine-prepare.sh puts
  # copies of both loaders into one folder here, BUILD_DIR/wine/lib/wine.
  wine="$wine_build_dir/wine/lib/wine/wine64"
  wineserver=/usr/lib/wine/wineserver64
  export WINELOADER="$wine" WINESERVER="$wineserver"
  # For the 32-bit loader; the 64-bit one passes over them.
  wine_tree="$(dirname "$wine_build_dir")/wine32"
  export LD_LIBRARY_PATH="$wine_tree/usr/lib/i386-linux-gnu:$wine_tree/lib/i386-linux-gnu"
  unset wine_tree
else
  wine_kind=win64
  export WINEARCH=win64
  wine=wine
  wineserver=wineserver
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono/Gecko install prompts
export LANG=C.UTF-8 LC_ALL=C.UTF-8        # fixed ANSI code page everywhere
unset DISPLAY WAYLAND_DISPLAY
unset wine_build_dir
