// End of call: 800 ms after the decoder ended a call, the channel's figures
// are taken from its labels and logged as the user's settings say.
#include "monitor/engine/monitor_engine.h"

#include "common/settings_store.h"

void MonitorEngine::TimerEndCallA_Timer()
{
    endOfCall(side(Channel::A));
}

void MonitorEngine::TimerEndCallB_Timer()
{
    endOfCall(side(Channel::B));
}

void MonitorEngine::endOfCall(const ChannelSide& s)
{
    const int endId = s.endId;
    const QString type = s.endType;
    if (endId >= 1 && endId <= int(IdRecords.size())) {
        IdRecord& r = IdRecords[endId - 1];
        r.DisplayCost.clear();
        r.CostUnits.clear();
        r.Activated = false;
    }
    xout(QStringLiteral("-->->-- Add Call to list\r\n"));
    s.endTimer.stop();

    xout3(QLatin1String("----------") + s.letter + QLatin1String("---------"));
    xout3(QLatin1String("TYPE  : ") + type);
    xout3(QLatin1String("Number   : ") + s.number);
    xout3(QLatin1String("Name     : ") + s.name);
    xout3(QLatin1String("Cost     : ") + s.cost);
    xout3(QLatin1String("Duration : ") + s.duration);
    xout3(QLatin1String("MSN      : ") + s.msn);

    QString number = s.number.trimmed();
    QString name = s.name;
    if (number.isEmpty())
        number = QStringLiteral("-");
    if (name.isEmpty())
        name = QStringLiteral("-");

    // A log setting that does not read as the number 1 counts as off.
    bool logged = (settings_.isOne(QStringLiteral("LogAns")) && type == QLatin1String("Answer"))
                  || (settings_.isOne(QStringLiteral("LogDial")) && type == QLatin1String("Called"))
                  || (settings_.isOne(QStringLiteral("LogRing")) && type == QLatin1String("Ring"))
                  || (settings_.isOne(QStringLiteral("LogTry")) && type == QLatin1String("Try"));
    if (s.msn == QLatin1String("-")) // the decoder never learned which own number was used
        logged = false;
    if (logged) {
        callList_.setDialPrefix(DialPrefix);
        callList_.AddCall(s.msn, type, clock_.now().date(), s.startClock, number, name, s.duration, s.cost);
    }
    s.msn = QStringLiteral("-");
    notifyDisplay();
}
