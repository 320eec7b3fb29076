#!/bin/sh
# Each named routine of a library is defined in the given code section.
# usage: check_routine_sections.sh OBJDUMP LIBRARY SECTION ROUTINE...
objdump="$1"
lib="$2"
section="$3"
shift 3
status=0
for r in "$@"; do
    where=$("$objdump" -t "$lib" | awk -v r="$r" '$NF == r && $3 == "F" { print $4 }' | sort -u)
    if [ "$where" != "$section" ]; then
        echo "$r is in '${where:-nowhere}', not in $section"
        status=1
    fi
done
[ $status -eq 0 ] && echo "all $# routines in $section"
exit $status
