// End of call: 800 ms after the decoder ended a call, the channel's figures
// are taken from its labels and logged as the user's settings say.
#include "monitor/engine/monitor_engine.h"

#include "app/settings_store.h"

void MonitorEngine::TimerEndCallA_Timer()
{
    endOfCall(true);
}

void MonitorEngine::TimerEndCallB_Timer()
{
    endOfCall(false);
}

void MonitorEngine::endOfCall(bool channelA)
{
    MonitorDisplay& d = display_;
    const int endId = channelA ? EndIdA : EndIdB;
    const QString type = channelA ? EndTypeA : EndTypeB;
    const QString& numberLabel = channelA ? d.Label1 : d.Label2;
    const QString& nameLabel = channelA ? d.Label19 : d.Label20;
    const QString& costLabel = channelA ? d.Label9 : d.Label10;
    const QString& durationLabel = channelA ? d.LabelDur1 : d.LabelDur2;
    QString& msnLabel = channelA ? d.LabelMSNA : d.LabelMSNB;

    if (endId >= 1 && endId <= int(IdRecords.size())) {
        IdRecord& r = IdRecords[endId - 1];
        r.DisplayCost.clear();
        r.CostUnits.clear();
        r.Activated = false;
    }
    xout(QStringLiteral("-->->-- Add Call to list\r\n"));
    (channelA ? timerEndCallA_ : timerEndCallB_)->stop();

    xout3(channelA ? QStringLiteral("----------A---------") : QStringLiteral("----------B---------"));
    xout3(QLatin1String("TYPE  : ") + type);
    xout3(QLatin1String("Number   : ") + numberLabel);
    xout3(QLatin1String("Name     : ") + nameLabel);
    xout3(QLatin1String("Cost     : ") + costLabel);
    xout3(QLatin1String("Duration : ") + durationLabel);
    xout3(QLatin1String("MSN      : ") + msnLabel);

    QString number = numberLabel.trimmed();
    QString name = nameLabel;
    if (number.isEmpty())
        number = QStringLiteral("-");
    if (name.isEmpty())
        name = QStringLiteral("-");

    // A log setting that does not read as the number 1 counts as off.
    bool logged = (settings_.isOne(QStringLiteral("LogAns")) && type == QLatin1String("Answer"))
                  || (settings_.isOne(QStringLiteral("LogDial")) && type == QLatin1String("Called"))
                  || (settings_.isOne(QStringLiteral("LogRing")) && type == QLatin1String("Ring"))
                  || (settings_.isOne(QStringLiteral("LogTry")) && type == QLatin1String("Try"));
    if (msnLabel == QLatin1String("-")) // the decoder never learned which own number was used
        logged = false;
    if (logged) {
        callList_.setDialPrefix(DialPrefix);
        callList_.AddCall(msnLabel, type, clock_.now().date(), channelA ? StartClockA : StartClockB, number, name,
                          durationLabel, costLabel);
    }
    msnLabel = QStringLiteral("-");
    notifyDisplay();
}
