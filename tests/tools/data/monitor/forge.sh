#!/bin/sh
# An event program whose error output tries to forge a log line on a terminal.
cat >/dev/null
printf 'oops\r\033[2Kcorvane-monitor: all calls saved\n' >&2
exit 1
