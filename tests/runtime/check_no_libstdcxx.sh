#!/bin/sh
# The runtime must link into a C program without the C++ runtime.
# usage: check_no_libstdcxx.sh NM LIBRARY
bad=$("$1" -u "$2" | awk 'NF >= 2 { print $2 }' | grep -E '^(_Z|__cxa|__gxx|_Unwind)' | sort -u)
[ -z "$bad" ] || { echo "runtime needs C++ support symbols:"; echo "$bad"; exit 1; }
