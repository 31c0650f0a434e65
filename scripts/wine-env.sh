# Sourced by the scripts that run Windows binaries: the project's own Wine
# environment, inside the build tree, never ~/.wine.
# Usage: source scripts/wine-env.sh BUILD_DIR
wine_build_dir=$(cd "${1:?build directory}" && pwd)
export WINEPREFIX="$wine_build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono/Gecko install prompts
export LANG=C.UTF-8 LC_ALL=C.UTF-8        # fixed ANSI code page everywhere
unset DISPLAY WAYLAND_DISPLAY
unset wine_build_dir
