# One line when a long step starts and one when it ends, with how long it took; the step's own
# output (the package manager's, the root builder's, the compiler's) goes to a log under
# build/logs/, whose last 30 lines are shown only when the step fails. Sourced by the tools:
#   bridge_step "Installing 12 Debian packages" apt-install COMMAND [ARG...]
# writes build/logs/apt-install.log and returns COMMAND's status.
bridge_logs="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/logs"

bridge_step() {
  local what=$1 log="$bridge_logs/$2.log" started=$SECONDS status=0
  shift 2
  mkdir -p "$bridge_logs"
  echo "$what (log: ${log#"$PWD/"})"
  "$@" >"$log" 2>&1 </dev/null || status=$?
  local took=$((SECONDS - started))
  if [ "$status" -eq 0 ]; then
    echo "  done in $(bridge_duration "$took")"
  else
    echo "  FAILED after $(bridge_duration "$took") (exit status $status); the last 30 lines of $log:"
    tail -n 30 "$log" | sed 's/^/  | /'
  fi
  return "$status"
}

# 75 -> "1 min 15 s"
bridge_duration() {
  if [ "$1" -ge 60 ]; then echo "$(($1 / 60)) min $(($1 % 60)) s"; else echo "$1 s"; fi
}
