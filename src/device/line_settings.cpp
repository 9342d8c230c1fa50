#include "device/line_settings.h"

#include "common/regional.h"
#include "common/settings_keys.h"
#include "common/settings_store.h"

#include <utility>

LineSettings readLineSettings(const SettingsStore& store)
{
    LineSettings line;
    line.port = regional::toInt16(store.read(key::CommPort)).value_or(0);
    line.speed = store.read(key::Speed);
    line.pause = regional::toSingle(store.read(key::CommDelay)).value_or(0.0f);
    return line;
}

LineSettings readLineSettings(SettingsStore& store, const QString& portOverride)
{
    const LineSettings line = readLineSettings(std::as_const(store));
    if (!portOverride.isEmpty())
        store.overridePortPath(line.port, portOverride);
    return line;
}

void writeLineSettings(SettingsStore& store, const LineSettings& line)
{
    store.write(key::CommPort, QString::number(line.port));
    store.write(key::Speed, line.speed);
    store.write(key::CommDelay, regional::fromSingle(line.pause));
}
