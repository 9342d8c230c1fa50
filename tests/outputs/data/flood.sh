# An event program that floods both outputs, then fails.
head -c 50000000 /dev/zero
head -c 1000000 /dev/zero | tr '\0' x >&2
exit 3
