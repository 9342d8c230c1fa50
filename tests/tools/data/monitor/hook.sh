#!/bin/sh
# An event program: what it was given, one file per event.
{ cat; env | grep -E '^CORVANE_(EVENT|NUMBER|NAME|MSN|CHANNEL|TYPE|DURATION|COST)=' | sort; } > "$1/$CORVANE_EVENT.txt"
