# An event program that never ends by itself.
exec sleep 60
