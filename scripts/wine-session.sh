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
    wineserver -p
    trap wine_session_end EXIT
}

wine_session_end() {
    wineserver -k 2>/dev/null || true
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}
