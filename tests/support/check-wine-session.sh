#!/usr/bin/env bash
# Checks, while the tests run, that they run in the Wine session CTest started
# (tools/wine-session.in): Wine's desktop process of the prefix WINE_RUN uses on this bench is
# up, and none of its standard handles is a pipe, which would be a test's output held open
# after the test has ended.
#   check-wine-session.sh WINE_RUN    (the build tree's wine-run)
set -u
prefix=$("$1" --prefix)
found=0
held=0
for dir in /proc/[0-9]*; do
  tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qx "WINEPREFIX=$prefix" || continue
  tr '\0' ' ' 2>/dev/null <"$dir/cmdline" | grep -qi 'explorer\.exe /desktop' || continue
  found=$((found + 1))
  for fd in 0 1 2; do
    target=$(readlink "$dir/fd/$fd" 2>/dev/null)
    case $target in
      pipe:* | socket:*)
        echo "desktop process ${dir#/proc/} holds $target as its standard handle $fd"
        held=$((held + 1)) ;;
    esac
  done
done
if [ "$found" -eq 0 ]; then
  echo "no desktop process in $prefix: nothing holds the desktop open for the session"
  exit 1
fi
echo "$found desktop process(es), $held standard handles held as pipes"
[ "$held" -eq 0 ]
