#!/bin/sh
# The runtime must link into a C program without the C++ runtime: no
# references to libstdc++, exception or RTTI support.
# usage: check_no_libstdcxx.sh NM LIBRARY
undefined=$("$1" -u "$2" | awk 'NF >= 2 { print $2 }' | sort -u)
bad=$(printf '%s\n' "$undefined" | grep -E '^(_Z|__cxa|__gxx|_Unwind)' || true)
if [ -n "$bad" ]; then
    echo "runtime needs C++ support symbols:"
    echo "$bad"
    exit 1
fi
echo "undefined symbols are C library only: $(printf '%s ' $undefined)"
