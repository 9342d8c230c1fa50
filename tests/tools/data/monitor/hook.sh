#!/bin/sh
# An event program: what it was given, one file per event and caller, which
# appears whole (renamed into place) so the test never reads one half written.
f="$1/$CORVANE_EVENT-$CORVANE_NUMBER"
{ cat; env | grep -E '^CORVANE_(EVENT|NUMBER|NAME|MSN|MSN_NAME|CHANNEL|TYPE|DURATION|COST)=' | sort; } > "$f.part"
mv "$f.part" "$f.txt"
