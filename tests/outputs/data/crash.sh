# An event program that dies of a signal.
kill -9 $$
