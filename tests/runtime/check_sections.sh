#!/bin/sh
# Every runtime routine sits in a code section named after it, the operation
# table in .functio and the cube template in .cubedat.
# usage: check_sections.sh OBJDUMP LIBRARY SECTION...
objdump="$1"
lib="$2"
shift 2
have=$("$objdump" -h "$lib" | awk '$1 ~ /^[0-9]+$/ { print $2 }' | sort -u)
status=0
for s in "$@"; do
    if ! printf '%s\n' "$have" | grep -qx -- "$s"; then
        echo "missing section $s"
        status=1
    fi
done
[ $status -eq 0 ] && echo "all $# sections present"
exit $status
