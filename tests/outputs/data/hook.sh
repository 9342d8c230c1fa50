# An event program that files what it got under its event, channel and type
# in the folder $1: its standard input, then its CORVANE_ variables.
f="$1/$CORVANE_EVENT-$CORVANE_CHANNEL-$CORVANE_TYPE"
cat > "$f"
env | grep '^CORVANE_[A-Z_]*=' | grep -v '^CORVANE_WRITE_GOLDEN=' | grep -v '^CORVANE_UPDATE_GOLDENS=' | sort >> "$f"
