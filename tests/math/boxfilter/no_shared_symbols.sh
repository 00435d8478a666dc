#!/bin/sh
# no_shared_symbols.sh LIBRARY MEMBER: fails when the archive member MEMBER
# (an object file compiled for a wider instruction set than the rest)
# defines a symbol that other object files may define too, a weak or unique
# one, which the linker could pick for every caller. Such symbols are
# printed.
set -u
library="$1"
member="$2"
symbols="$(nm -A "$library" | grep -F ":$member:")" || {
  echo "no member $member in $library"
  exit 1
}
shared="$(printf '%s\n' "$symbols" | grep -E ' [VWuvw] ')"
[ -z "$shared" ] && exit 0
echo "$member defines symbols other files may share:"
printf '%s\n' "$shared"
exit 1
