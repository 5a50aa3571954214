# Sourced by test-windows.sh and screenshots.sh: the Wine prefix both run Kipo.exe in.
# Needs WINEPREFIX set.

wine_quiet() { "$@" </dev/null >/dev/null 2>&1; }

# Creates the prefix once: a virtual desktop (without a window manager the first dialog and the
# notification icon stall and windows have no frames) and no crash dialog (it would wait for a
# click that never comes and hold the run until the timeout).
prepare_prefix() {
    if [ ! -f "$WINEPREFIX/.kipo-ready" ]; then
        echo "Preparing the Wine prefix (first start takes a while)"
        wine_quiet wineboot -i
        wine_quiet wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
        wine_quiet wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
        wine_quiet wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
        # Let the server write the registry and end, so the next start reads the new values.
        wineserver -w
        touch "$WINEPREFIX/.kipo-ready"
    fi
    install_wine_fonts
}

# Wine's own fonts (Debian's fonts-wine puts them in /usr/share/wine/fonts) into the prefix's
# Fonts folder. Debian's Wine 8 looks for them elsewhere (its data folder's ../fonts), so
# without this the title bar's buttons, drawn with Marlett, show as letters ("r" for close)
# and Tahoma, the dialogs' font, falls back to another face. Every Wine start reads this
# folder, so fonts added to an existing prefix count from the next start.
install_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp -u /usr/share/wine/fonts/*.ttf "$fonts/"
}
