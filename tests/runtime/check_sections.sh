#!/bin/sh
# Every runtime routine sits in a code section named after it.
# usage: check_sections.sh OBJDUMP LIBRARY SECTION...
have=$("$1" -h "$2" | awk '$1 ~ /^[0-9]+$/ { print $2 }')
shift 2
status=0
for s in "$@"; do
    printf '%s\n' "$have" | grep -qx -- "$s" || { echo "missing section $s"; status=1; }
done
exit $status
