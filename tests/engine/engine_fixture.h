#pragma once
// A monitor engine on a virtual clock with its own settings, book and list
// files, and helpers that write frames in the adapter's trace line format.
#include "common/dss1_codes.h"
#include "common/settings_store.h"
#include "common/test_files.h"
#include "monitor/engine/monitor_engine.h"
#include "monitor/engine/virtual_clock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <vector>

using Octets = std::vector<int>;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const CallRecord& r, std::ostream* os)
{
    *os << CallList::toLine(r).replace(u'\t', u'|').toStdString();
}

// "L1   0 -> 00 81 7F  \r\n 00001234": the line plus the trailer the capture's
// trims consume.
inline QByteArray traceLine(const Octets& octets, bool fromNetwork = false, int ms = 1234)
{
    QByteArray s = fromNetwork ? "L1   0 <- " : "L1   0 -> ";
    for (int o : octets)
        s += QByteArray::number(o & 0xFF, 16).rightJustified(2, '0').toUpper() + ' ';
    s += " \r\n";
    s += ' ' + QByteArray::number(ms).rightJustified(8, '0');
    return s;
}

inline Octets digits(const char* text)
{
    Octets o;
    for (const char* p = text; *p; ++p)
        o.push_back(uchar(*p));
    return o;
}

inline Octets cat(std::initializer_list<Octets> parts)
{
    Octets all;
    for (const Octets& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Standard frames of a call, as the network and the adapter's ports send them.
namespace frames {
namespace ie = dss1::ie;
inline Octets callingNumber(const char* n)
{
    return cat({{ie::kCallingPartyNumber, int(2 + strlen(n)), 0x01, 0x80}, digits(n)});
}
inline Octets connectedNumber(const char* n)
{
    return cat({{ie::kConnectedNumber, int(2 + strlen(n)), 0x01, 0x80}, digits(n)});
}
inline Octets calledNumber(const char* n)
{
    return cat({{ie::kCalledPartyNumber, int(1 + strlen(n)), 0xC1}, digits(n)});
}
inline Octets channel(int c)
{
    return {ie::kChannelIdentification, 0x01, c};
}
inline Octets clearing()
{
    return {ie::kCause, 0x02, dss1::kLocationUser, dss1::kCauseNormal};
}
// UI frame on the group TEI: SETUP offered to all terminals.
inline Octets offer(const Octets& elements)
{
    return cat({{0x02, dss1::kGroupTei, dss1::kControlUi, dss1::kProtocolDiscriminator, 0x01, 0x05,
                    int(dss1::MessageType::Setup), ie::kBearerCapability, 0x03, 0x80, 0x90, 0xA3},
        elements});
}
// I-frame of the terminal with TEI octet `tei`, message type `type`.
inline Octets iframe(int tei, int type, const Octets& elements)
{
    return cat({{0x00, tei, 0x02, 0x02, dss1::kProtocolDiscriminator, 0x01, 0x85, type}, elements});
}
} // namespace frames

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        ASSERT_TRUE(dir.isValid());
        settings = std::make_unique<SettingsStore>(path("settings.ini"));
        engine = std::make_unique<MonitorEngine>(clock);
        engine->callList().setListPath(path("list.txt"));
        applySettings();
        engine->reset();
    }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    void writeBook(const QByteArray& content) { writeBytes(path("book.txt"), content); }

    void feed(const QByteArray& bytes)
    {
        for (char c : bytes)
            engine->Scan(c);
    }

    // Sends a whole line; it is decoded when the next line's "L" arrives, which
    // this sends at once (the next line then starts after it).
    void frame(const Octets& octets, bool fromNetwork = false)
    {
        QByteArray line = traceLine(octets, fromNetwork, int(clock.elapsed() % 100000000));
        if (engine->traceBuffer().endsWith(u'L')) // the previous line's follower already sent it
            line.remove(0, 1);
        feed(line + 'L');
    }

    // The store's settings handed to the engine, as the monitor does after each change.
    void applySettings()
    {
        MonitorInputs in = readMonitorInputs(*settings, engine->inputs().debugLevel);
        in.bookPath = path("book.txt");
        engine->setInputs(in);
    }
    void setLevel(int level)
    {
        MonitorInputs in = engine->inputs();
        in.debugLevel = level;
        engine->setInputs(in);
    }
    void setDialPrefix(const QString& prefix)
    {
        settings->write(QStringLiteral("DialPrefixNumber"), prefix);
        applySettings();
    }

    MonitorDisplay d() const { return engine->display(); }
    const IdRecord& rec(int tei) const { return *engine->idRecord(tei); }
    QString text2() const { return engine->Text2().text(); }

    QTemporaryDir dir;
    VirtualClock clock{QDateTime(QDate(2026, 1, 1), QTime(10, 0))};
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<MonitorEngine> engine;
};
