#pragma once
// A DodOva double at the level of SendAT: answers as the channel would hand
// them over, records every command that would go out. It honours the
// device-absent latch like the real channel (nothing sent, empty result).
#include <QMap>
#include <QStringList>
#include <array>
#include <functional>

#include "device_answers.h"

struct FakeDodova {
    std::array<quint8, 128> regs{};
    QStringList msns = {"4711", "", "", "4712", "30", "", "4713", "", "9"};
    QStringList own = {"4711", "4712", "4713"};
    QStringList charges = {"1", "2", "3", "10", "100", "300"};
    QStringList sent;
    QMap<QString, QString> overrides; // command -> answer
    std::function<bool()> latch;
    std::function<void(const QString&)> onSend; // observers (lamp colour, status text)

    FakeDodova()
    {
        regs[0] = 2;    regs[15] = 32;  regs[18] = 0;   regs[56] = 25;  regs[79] = 0x04; regs[82] = 76;
        regs[83] = 0x02; regs[84] = 0x31; regs[85] = 0x0A; regs[87] = 0x21; regs[89] = 0x25; regs[100] = 0;
        regs[108] = 2;  regs[109] = 0;  regs[118] = 0x02; regs[123] = 255;
    }

    QString operator()(const QString& cmd)
    {
        if (latch && latch())
            return {};
        sent << cmd;
        if (onSend)
            onSend(cmd);
        if (overrides.contains(cmd))
            return overrides.value(cmd);
        if (cmd == u"ATE1")
            return QStringLiteral("OK");
        if (cmd == u"ATI4")
            return QStringLiteral("DodOva ISDN TA\r\n\r\n");
        if (cmd == u"ATI3")
            return QStringLiteral("Software 3.81\r\n\r\n");
        if (cmd == u"ATI0")
            return QStringLiteral("Hardware 50\r\n\r\n");
        if (cmd == u"ATI1")
            return QStringLiteral("0815\r\n\r\n");
        if (cmd.startsWith(u"ATS")) {
            const qsizetype eq = cmd.indexOf(u'=');
            if (cmd.endsWith(u'?'))
                return QStringLiteral("%1\r\n\r\n").arg(regs[cmd.mid(3, cmd.size() - 4).toInt()], 3, 10, QChar(u'0'));
            if (eq > 0)
                regs[cmd.mid(3, eq - 3).toInt()] = quint8(cmd.mid(eq + 1).toInt());
            return {};
        }
        if (cmd == u"AT&ZI?")
            return msnAnswerBody(msns);
        if (cmd == u"AT&ZO?")
            return ownAnswerBody(own);
        if (cmd == u"ATCH?")
            return chargeAnswerBody(charges);
        return {}; // writes of numbers, profiles and counters: the tests look at `sent`
    }
};
