#!/usr/bin/env bash
# Reads every XML file the test programs kept (KeepXmlForCheck) with xmllint, a parser that
# shares nothing with the program. A file whose name ends in .cp932.xml holds characters that
# only code page 932 has (such as ㈱): strict Shift_JIS readers refuse those bytes, so that
# file is read as code page 932 text instead. Fails when a file is refused. When the tests that
# ran kept none (a run of chosen tests that write no statement) it is skipped (exit 77): the
# programs that keep files already fail when a file cannot be kept.
set -uo pipefail
folder=$1
read=0
refused=0
for file in "$folder"/*.xml; do
  [ -f "$file" ] || continue
  read=$((read + 1))
  case $file in
    *.cp932.xml)
      iconv -f CP932 -t UTF-8 "$file" | sed '1s/encoding="Shift_JIS"/encoding="UTF-8"/' | xmllint --noout - ;;
    *)
      xmllint --noout "$file" ;;
  esac || { echo "refused: $file"; refused=$((refused + 1)); }
done
echo "$read XML files read by xmllint, $refused refused"
[ "$read" -gt 0 ] || exit 77
[ "$refused" -eq 0 ]
