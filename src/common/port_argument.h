#pragma once
// The --port value as the user meant it from where the program was started.
#include <QString>

// The programs change into the program folder at start-up, so a path relative
// to the starting folder is made absolute before that. An address
// ("tcp://HOST:PORT") and a bare device name that is no file here ("ttyUSB0",
// which the serial port looks up in /dev) stay as they are.
QString portFromCommandLine(const QString& port);
