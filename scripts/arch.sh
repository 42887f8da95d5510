# Sourced by the scripts: which build this run tests, and the Wine that runs it. The shipped program is
# 32-bit (x86, in build/); where the kernel runs no 32-bit x86 code, 32-bit Wine cannot start, so
# such hosts test the same sources built for 64-bit Windows (x64, in build/x64) under 64-bit Wine.

wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64

# Sets and exports ZANTO_ARCH (x86 or x64): the caller's choice, else a probe of this host. Says in
# one line which build is under test and why; $1 is the verb of that line.
arch_choose() {
    local why failure
    case ${ZANTO_ARCH:-} in
    x86 | x64) why="ZANTO_ARCH=$ZANTO_ARCH asks for it" ;;
    "")
        if failure=$("$wine32_loader" --version 2>&1 >/dev/null); then
            ZANTO_ARCH=x86 why="this host runs 32-bit x86 code"
        elif [ $? -eq 126 ]; then
            ZANTO_ARCH=x64 why="this host runs no 32-bit x86 code ($wine32_loader: ${failure##*: })"
        else
            ZANTO_ARCH=x64 why="32-bit Wine does not start here ($wine32_loader: ${failure##*: })"
        fi
        ;;
    *)
        echo "error: ZANTO_ARCH must be x86 or x64, not \"$ZANTO_ARCH\"" >&2
        exit 2
        ;;
    esac
    export ZANTO_ARCH
    echo "$1 the $([ "$ZANTO_ARCH" = x86 ] && echo 32 || echo 64)-bit build: $why"
}

# The build folder of one tree; $1 is the top build folder.
arch_tree() {
    if [ "$2" = x64 ]; then echo "$1/x64"; else echo "$1"; fi
}

# Exports the Wine loader (ZANTO_WINE) and prefix kind (WINEARCH) for a tree's programs.
# /usr/bin/wine would always start the 32-bit loader.
arch_wine() {
    case $1 in
    x86) export ZANTO_WINE=$wine32_loader WINEARCH=win32 ;;
    x64) export ZANTO_WINE=$wine64_loader WINEARCH=win64 ;;
    *)
        echo "error: no Wine for the architecture \"$1\"" >&2
        exit 2
        ;;
    esac
}
