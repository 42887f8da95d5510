# Sourced by the run scripts: one Xvfb display and one wineserver for this run, in a prefix inside
# the build folder; both end with the calling script.
wine_session_start() {
    local build=$1
    export WINEPREFIX="$build/wineprefix" WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

    if [ -z "${ZANTO_USE_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
        local display=90
        while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
            display=$((display + 1))
        done
        Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$display"
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X${display}" ] && break
            sleep 0.1
        done
    fi

    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix (once)..."
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        # A virtual desktop gives the windows frames and title bars without a window manager.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
        wineserver -w
    fi
    # Debian's Wine does not look in /usr/share/wine/fonts for its own fonts, so "MS Sans Serif"
    # would fall back to a smaller system font and shrink every dialog unit. In the prefix's font
    # folder it finds them.
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wine_session_mount_drives "$build"
    wineserver -p
    trap wine_session_end EXIT
}

# Two small test volumes where mounting is allowed: S: reports 5 TiB free (beyond 32-bit
# megabyte arithmetic), T: 1 MiB. Tests that need them skip when they are missing.
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
