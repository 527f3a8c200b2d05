#!/usr/bin/env bash
# Checks that Windows programs are built for the machine they are meant for, by the machine
# field of their PE header; nothing is run, so this holds on any machine.
#   check-machine-type.sh x64|x86 PATH...
# A PATH that is a folder stands for every .exe below it, Wine prefixes left out.
set -uo pipefail
declare -A wanted=([x64]=8664 [x86]=014c)
arch=$1
shift
[ -n "${wanted[$arch]:-}" ] || { echo "unknown architecture '$arch': choose x64 or x86"; exit 2; }

# The PE header starts where offset 0x3c points; its machine field follows the signature.
machine_of() {
  local pe
  pe="$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')"
  [ -n "$pe" ] && od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}

checked=0 wrong=0
while IFS= read -r -d '' exe; do
  checked=$((checked + 1))
  found="$(machine_of "$exe")"
  if [ "$found" != "${wanted[$arch]}" ]; then
    echo "$exe is built for machine ${found:-(no PE header)}, not $arch (${wanted[$arch]})"
    wrong=$((wrong + 1))
  fi
done < <(find "$@" -name '*prefix*' -prune -o -type f -name '*.exe' -print0)
echo "$checked programs checked for $arch, $wrong built for another machine"
[ "$checked" -gt 0 ] && [ "$wrong" -eq 0 ]
