# The architectures the program is built for, each a CMake preset (CMakePresets.json) of its
# own name, and the build folder each preset uses. Sourced by the tools: `bridge_architecture
# ARCH` sets `build` (the build folder) for ARCH, or fails with a usage message.
#   x64  64-bit x86, the default: build/
#   x86  32-bit x86: build-x86/
bridge_architectures=(x64 x86)

bridge_architecture() {
  local root
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  case "$1" in
    x64) build="$root/build" ;;
    x86) build="$root/build-x86" ;;
    *) echo "unknown architecture '$1': choose x64 or x86" >&2; return 2 ;;
  esac
}
