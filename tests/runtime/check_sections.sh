#!/bin/sh
# Every routine of the libraries sits in a code section named for it (or a
# shared one such as .unpacko), never in .text: a demo's linker can then keep
# exactly the operations it uses.
# usage: check_sections.sh OBJDUMP LIBRARY...
objdump=$1 && shift
bad=$("$objdump" -t "$@" | awk '$3 == "F" && $4 ~ /^\.text/ { print $NF }' | sort -u)
[ -z "$bad" ] || { echo "routines in .text:" $bad; exit 1; }
