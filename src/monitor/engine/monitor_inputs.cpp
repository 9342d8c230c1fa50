#include "monitor/engine/monitor_inputs.h"

#include "common/regional.h"
#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "common/user_text.h"
#include "phonebook/book_file.h"

#include <mutex>

namespace {

// A stored unit cost that is no price costs nothing silently: the default
// counts, said once on the log; the file keeps what it holds.
float unitCostOf(const SettingsStore& store)
{
    const QString stored = store.read(key::UnitCost);
    if (const std::optional<float> cost = regional::toCost(stored))
        return *cost;
    const QString fallback = SettingsStore::defaultFor(key::UnitCost);
    static std::once_flag said;
    std::call_once(said, [&] {
        qWarning(
            "%s", qPrintable(QStringLiteral("UnitCost \"%1\" is no price; %2 is used").arg(stored.left(40), fallback)));
    });
    return regional::toCost(fallback).value_or(0.0f);
}

} // namespace

bool MonitorInputs::logs(CallType type) const
{
    switch (type) {
    case CallType::Answer: return logAnswer;
    case CallType::Called: return logCalled;
    case CallType::Ring: return logRing;
    case CallType::Try: return logTry;
    case CallType::CID: return logCid;
    }
    return false;
}

MonitorInputs readMonitorInputs(const SettingsStore& store, int debugLevel)
{
    MonitorInputs in;
    in.debugLevel = debugLevel;
    in.dialPrefix = store.read(key::DialPrefixNumber);
    in.unitCost = unitCostOf(store);
    in.logAnswer = store.isOne(key::LogAns);
    in.logCalled = store.isOne(key::LogDial);
    in.logRing = store.isOne(key::LogRing);
    in.logTry = store.isOne(key::LogTry);
    in.logCid = store.isOne(key::LogCID);
    in.popup = store.isOne(key::Popup);
    in.callerIdSound = store.isOne(key::IDSound);
    in.wavFile = store.read(key::WavFile);
    in.ringSound = store.isOne(key::Ring);
    in.numberPlan = numberforms::planFrom(store);
    in.placeLanguage = NumberPlace::languageFor(store.read(key::Language));
    in.bookPath = BookFile::defaultPath();
    in.ignored = IgnoreList::read(IgnoreList::defaultPath(), in.numberPlan);
    for (int i = 1; i <= key::kMsnSlots; ++i) {
        const QString msn = store.read(key::msnNumber(i)).trimmed();
        const QString name = store.read(key::msnName(i)).trimmed();
        if (!msn.isEmpty() && !name.isEmpty())
            in.msnNames.insert(msn, usertext::cleaned(name, usertext::kMaxNameLength));
    }
    return in;
}
