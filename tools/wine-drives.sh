# Sourced, not run: links the test drives into $WINEPREFIX's dosdevices and
# exports their Linux-side aliases. Wine reads the drives, and their types,
# when its server starts, so whoever starts the server sources this first.
# A link is never removed while it is right, since another test may be
# running through it.
facts_link_drive() {
    mkdir -p "$2"
    [ "$(readlink "$1")" = "$2" ] || ln -sfn "$2" "$1"
}
# Drive T: is the top of a drive for the tests that need one; its folder is
# also reachable through Z:, which lets them check where things landed.
facts_link_drive "$WINEPREFIX/dosdevices/t:" "$WINEPREFIX/facts-drive-t"
export FACTS_DRIVE_T_ALIAS="Z:$(printf '%s' "$(cd "$WINEPREFIX/facts-drive-t" && pwd -P)" | tr / '\\')"
# Drive N: is a network drive (registered as one in the prefix), where the
# shell has no Recycle Bin.
facts_link_drive "$WINEPREFIX/dosdevices/n:" "$WINEPREFIX/facts-drive-n"
export FACTS_DRIVE_N_ALIAS="Z:$(printf '%s' "$(cd "$WINEPREFIX/facts-drive-n" && pwd -P)" | tr / '\\')"
