# shellcheck shell=bash
# Sourced with a folder: wine_env DIR sets up Wine to keep everything it
# writes inside DIR: the prefix (DIR/prefix), and a home with every XDG
# folder (DIR/home), so that nothing lands in the user's own. Wine stays
# quiet, asks for neither Mono nor Gecko (mscoree, mshtml off) and writes
# no desktop menu entries (winemenubuilder off).
wine_env() {
  local dir="$1"
  mkdir -p "$dir/home"
  export WINEPREFIX="$dir/prefix"
  export WINEARCH=win64
  export HOME="$dir/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
  export XDG_CACHE_HOME="$HOME/.cache" XDG_STATE_HOME="$HOME/.local/state"
  export XDG_RUNTIME_DIR="$HOME/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}
