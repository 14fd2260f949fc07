#!/usr/bin/env bash
# Builds Velquist, runs it under Wine on a private X display and saves the window, once the first
# scan has finished and its first category is shown, as docs/screenshot.png (or the path given).
set -euo pipefail
source "$(dirname "$0")/common.sh"

output=${1:-$VELQUIST_ROOT/docs/screenshot.png}
screen_width=1600
screen_height=1000

if [ "${VELQUIST_IN_DISPLAY:-}" != 1 ]; then
    velquist_setup
    velquist_build
    mkdir -p "$(dirname "$output")"
    output=$(cd "$(dirname "$output")" && pwd)/$(basename "$output")
    # One X server for the whole run: a wineserver must never see the display come and go.
    VELQUIST_IN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 ${screen_width}x${screen_height}x24" "$0" "$output"
fi

velquist_wine_up
frame=$(mktemp --suffix=.png)
trap 'rm -f "$frame"; velquist_wine_down' EXIT

# A Wine virtual desktop draws the window's caption, which a bare X server without a window
# manager would leave out.
wine explorer "/desktop=Velquist,${screen_width}x${screen_height}" "$VELQUIST_BUILD/Velquist.exe" \
    </dev/null >/dev/null 2>&1 &

# The selected tree item is the only thing painted in the selection blue, and the tree is filled
# only when the scan has finished: that colour on screen means the first category is shown.
selection_pixels() {
    import -window root "$frame" 2>/dev/null || { echo 0; return; }
    convert "$frame" -fill black +opaque 'rgb(35,105,205)' -fill white -opaque 'rgb(35,105,205)' \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0
}

for _ in $(seq 1 120); do
    if [ "$(selection_pixels)" -gt 500 ]; then
        sleep 1  # let the tiles and the details pane finish painting
        window_x=$(((screen_width - 1360) / 2))
        window_y=$(((screen_height - 850) / 2))
        import -window root -crop "1360x850+${window_x}+${window_y}" +repage "$output"
        echo "Saved $output"
        exit 0
    fi
    sleep 0.5
done
echo "The scan did not finish in time; no screenshot taken." >&2
exit 1
