#!/bin/sh
# A dodova-sim scenario of many short random calls, the same for the same seed:
# in and out on both phones, answered, missed and busy, some overlapping (a
# waiting call, both channels busy). Usage: bench/random_calls.sh CALLS SEED
set -eu
awk -v calls="${1:?calls}" -v seed="${2:?seed}" 'BEGIN {
    srand(seed)
    at = 2000
    for (i = 0; i < calls; i++) {
        ring = 1000 + int(rand() * 7000); talk = 1000 + int(rand() * 20000)
        answer = rand() < 0.7 ? "yes" : "no"
        hangup = rand() < 0.5 ? "local" : "remote"
        if (rand() < 0.5) {
            from = sprintf("0%d%08d", 2 + int(rand() * 8), int(rand() * 100000000))
            printf "in  at=%dms from=%s to=%s ring=%dms answer=%s talk=%dms hangup=%s\n",
                at, from, rand() < 0.5 ? "4711" : "4712", ring, answer, talk, hangup
        } else {
            if (rand() < 0.1) answer = "busy"
            printf "out at=%dms port=%d dial=0%d%07d ring=%dms answer=%s talk=%dms hangup=%s units=%d\n",
                at, 1 + int(rand() * 2), 1 + int(rand() * 9), int(rand() * 10000000), ring, answer, talk, hangup,
                int(rand() * 6)
        }
        at += 1000 + int(rand() * 14000) # calls overlap now and then; 8,000 calls within a day
    }
}'
