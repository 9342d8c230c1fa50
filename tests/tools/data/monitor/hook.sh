#!/bin/sh
# An event program: what it was given, one file per event, which appears whole
# (renamed into place) so the test never reads one half written.
{ cat; env | grep -E '^CORVANE_(EVENT|NUMBER|NAME|MSN|CHANNEL|TYPE|DURATION|COST)=' | sort; } > "$1/$CORVANE_EVENT.part"
mv "$1/$CORVANE_EVENT.part" "$1/$CORVANE_EVENT.txt"
