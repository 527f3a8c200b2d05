#!/usr/bin/env bash
# A small file system for the tests that fill a disk: a tmpfs of 256 KiB mounted at MOUNTPOINT
# and linked as drive X: in the Wine prefix that WINE_RUN (the build tree's wine-run) uses on
# this bench.
#   small-disk.sh mount MOUNTPOINT WINE_RUN     small-disk.sh unmount MOUNTPOINT WINE_RUN
# Mounting needs root. When it fails the drive is not linked and the tests that need it say
# so and are skipped; this script itself never fails.
set -u
action=$1
mountpoint=$2
link="$("$3" --prefix)/dosdevices/x:"
release() {
  rm -f "$link"
  if mountpoint -q "$mountpoint" 2>/dev/null; then umount "$mountpoint"; fi
}
case $action in
  mount)
    release
    mkdir -p "$mountpoint"
    if [ -d "$(dirname "$link")" ] &&
       mount -t tmpfs -o size=256k,mode=0777 bridge-small-disk "$mountpoint" 2>/dev/null; then
      ln -s "$mountpoint" "$link"
      echo "small disk of 256 KiB at $mountpoint, drive X:"
    else
      echo "SMALL DISK NOT AVAILABLE: cannot mount a tmpfs here (needs root); the disk-full tests will be skipped"
    fi ;;
  unmount)
    release ;;
esac
exit 0
