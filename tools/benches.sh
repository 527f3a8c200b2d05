# The test benches the tools run Windows programs on (docs/testing.md). Sourced by the tools:
#   wine8   the machine's own Wine 8 (Debian 12)
#   wine10  Wine 10 of Debian 13, in the root tools/wine10 keeps
# `bridge_bench NAME` fails with a usage message unless NAME is one of them;
# `bridge_bench_name NAME` says which Wine it is; `bridge_on_bench NAME COMMAND...` runs
# COMMAND where that bench's Wine is.
bridge_benches=(wine8 wine10)
# Both benches keep Wine's 32-bit loader here; a machine that runs no 32-bit programs cannot
# start it.
bridge_wine32_loader=/usr/lib/wine/wine

bridge_bench() {
  case "$1" in
    wine8 | wine10) return 0 ;;
    *) echo "unknown bench '$1': choose wine8 or wine10" >&2; return 2 ;;
  esac
}

bridge_bench_name() {
  case "$1" in
    wine8) echo "Wine 8 (Debian 12, this machine)" ;;
    wine10) echo "Wine 10 (Debian 13 root)" ;;
  esac
}

bridge_on_bench() {
  local bench=$1
  shift
  if [ "$bench" = wine10 ]; then
    "$(dirname "${BASH_SOURCE[0]}")/wine10" "$@"
  else
    "$@"
  fi
}
