# Sourced by the run scripts after scripts/arch.sh: one Xvfb display and one wineserver for this
# run, in a prefix inside the tree's build folder; both end with the calling script. Whatever keeps
# them from starting ends the script with a message that says what failed. ZANTO_DPI (96 when unset)
# is the screen's DPI, Wine's LogPixels: another DPI gets a prefix of its own, so that the tests'
# prefix always stands at 96, and a screen and a desktop that much larger.
wine_session_start() {
    local build=$1 arch=$2 log dpi=${ZANTO_DPI:-96}
    case $dpi in
    96 | 120 | 144 | 168 | 192) ;;
    *) wine_session_fail "ZANTO_DPI must be one of 96, 120, 144, 168 and 192, not \"$dpi\"." ;;
    esac
    arch_wine "$arch"
    export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
    [ "$dpi" = 96 ] || WINEPREFIX+="-${dpi}dpi"
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    trap wine_session_end EXIT

    if [ -z "${ZANTO_USE_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
        local display=90
        while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
            display=$((display + 1))
        done
        log=$build/xvfb.log
        Xvfb ":$display" -screen 0 "$((1024 * dpi / 96))x$((768 * dpi / 96))x24" -nolisten tcp >"$log" 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$display"
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X${display}" ] && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        [ -e "/tmp/.X11-unix/X${display}" ] ||
            wine_session_fail "Xvfb did not start on display :$display (its output is in $log)." \
                "Check that xvfb is installed (scripts/install-deps.sh), or run on a desktop with DISPLAY set."
    fi

    local failure
    if ! failure=$("$ZANTO_WINE" --version 2>&1 >/dev/null); then
        if [ "$arch" = x86 ]; then
            wine_session_fail "32-bit Wine does not start: $ZANTO_WINE: ${failure##*: }." \
                "If this host runs no 32-bit x86 code, test the 64-bit build: ZANTO_ARCH=x64 (or leave ZANTO_ARCH unset)."
        fi
        wine_session_fail "64-bit Wine does not start: $ZANTO_WINE: ${failure##*: }." \
            "Install wine64 (scripts/install-deps.sh)."
    fi

    if [ -f "$WINEPREFIX/system.reg" ] && ! grep -qx "#arch=$WINEARCH" "$WINEPREFIX/system.reg"; then
        wine_session_fail "the Wine prefix $WINEPREFIX is not a $WINEARCH prefix; remove it and run again."
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix (once)..."
        log=$build/wineboot.log
        # wineboot's status also counts parts that the tests do not need (where no 32-bit code runs,
        # the 32-bit half of a 64-bit prefix), so the prefix is judged by its registry instead.
        "$ZANTO_WINE" wineboot -i >"$log" 2>&1 || true
        wineserver -w
        # A virtual desktop gives the windows frames and title bars without a window manager.
        if [ ! -f "$WINEPREFIX/system.reg" ] || ! {
            "$ZANTO_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
                "$ZANTO_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$((800 * dpi / 96))x$((600 * dpi / 96))" /f &&
                wineserver -w
        } >>"$log" 2>&1; then
            # Half a prefix would pass for a whole one next time.
            wineserver -k 2>/dev/null || true
            rm -rf "$WINEPREFIX"
            wine_session_fail "could not create the $WINEARCH Wine prefix $WINEPREFIX with $ZANTO_WINE" \
                "(its output is in $log)."
        fi
    fi
    # Debian's Wine does not look in /usr/share/wine/fonts for its own fonts, so "MS Sans Serif"
    # would fall back to a smaller system font and shrink every dialog unit. In the prefix's font
    # folder it finds them.
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wine_session_mount_drives "$build"
    wineserver -p
    # Set on every start, through the session's own server: a run that was killed while a test had
    # changed it must not leave it so.
    "$ZANTO_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 ||
        wine_session_fail "could not set the DPI of the Wine prefix $WINEPREFIX to $dpi."
}

wine_session_fail() {
    echo "error: $*" >&2
    exit 1
}

# Two small test volumes where mounting is allowed: S: reports 5 TiB free (beyond 32-bit
# megabyte arithmetic), T: 1 MiB. Tests that need them skip when they are missing and say why;
# under CI=true, where they can be mounted, they fail instead.
wine_session_mount_drives() {
    local build=$1 drive size
    for drive in s:5T t:1M; do
        size=${drive#*:}
        drive=${drive%%:*}
        mkdir -p "$build/drives/$drive"
        if mountpoint -q "$build/drives/$drive" ||
            mount -t tmpfs -o "size=$size" tmpfs "$build/drives/$drive" 2>/dev/null; then
            ln -sfn "$build/drives/$drive" "$WINEPREFIX/dosdevices/$drive:"
            MOUNTED_DRIVES+=("$build/drives/$drive")
        fi
    done
    if [ ${#MOUNTED_DRIVES[@]} -eq 2 ]; then
        export ZANTO_BIG_DRIVE=S ZANTO_SMALL_DRIVE=T
    else
        echo "Note: the test drives S: and T: could not be mounted (tmpfs needs root): the tests that need them" \
            "are skipped$([ "${CI:-}" = true ] && echo ', and fail under CI=true')." >&2
    fi
}

MOUNTED_DRIVES=()

wine_session_end() {
    wineserver -k 2>/dev/null || true
    local mounted
    for mounted in "${MOUNTED_DRIVES[@]}"; do
        umount "$mounted" 2>/dev/null || true
    done
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}
