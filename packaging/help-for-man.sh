#!/bin/sh
# Runs PROGRAM with the other arguments and gives its help the shape help2man reads. Our tools
# print "usage: NAME ...", further forms as "       NAME ..." each followed by its explanation
# indented by two, then sections ("Keys in the window:") of indented entries. help2man wants
# every form at the top ("Usage:", then "  or:  NAME ..."), then the explanations flush left
# (a paragraph each) and the sections as they are.
# Usage: help-for-man.sh PROGRAM ARGUMENT...
program=$1
shift
"$program" "$@" | awk -v name="$(basename "$program")" '
  /^usage: / { sub(/^usage:/, "Usage:"); forms[nforms++] = $0; if (nrest) rest[nrest++] = ""; next }
  index($0, "       " name " ") == 1 { sub(/^ +/, "  or:  "); forms[nforms++] = $0; if (nrest) rest[nrest++] = ""; next }
  /^[^ ]/ { sections = 1 }
  { line = $0; if (!sections) sub(/^  /, "", line); rest[nrest++] = line }
  END {
    for (i = 0; i < nforms; i++) print forms[i]
    print ""
    for (i = 0; i < nrest; i++) print rest[i]
  }'
