// Frame scripts (data/frames/*.frames) through the engine, each its own test
// case; what each line changes is logged and the whole log compared with the
// script's .expected file (CORVANE_UPDATE_GOLDENS=1 rewrites them). A script line is
//   > 00 81 7F    a frame from a terminal      < 02 FF ...  one from the network
//   level N       the DebugLevel               wait MS      the clock runs on
//   reset         a freshly opened monitor     # ...        a comment
//   set KEY VALUE a monitor setting            prefix P     the dial prefix
//   ignore N...   the ignore list (after set)  host V N     log the host's part,
//                 the window visible (1/0) and normal (1/0)
// and the log shows, below each line, the new pane text, the changed state
// lines, the frame's terminal record, the terminals in the tree, new calls
// and the call events; from "host" on also what the engine asks of its host
// and the quiet rings.
#include "common/golden.h"
#include "monitor/engine/call_event.h"
#include "engine_fixture.h"

#include <QDir>
#include <array>
#include <utility>

namespace {

class FrameScript : public EngineFixture, public ::testing::WithParamInterface<std::string>, MonitorHost {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        engine->setHost(this);
    }
    void popupRequested(bool wasVisible) override { asked(QStringLiteral("popup %1").arg(wasVisible)); }
    void playCallerIdSound(const QString& wav) override { asked(QLatin1String("sound ") + wav); }
    void keepOnTop(bool on) override { asked(QStringLiteral("top %1").arg(on)); }
    void asked(const QString& what)
    {
        if (hostShown_)
            events_ += QStringLiteral("  host: ") + what + u'\n';
    }
    void callEvent(const CallEvent& e) override
    {
        QString line = callEventLine(e).replace(u'\t', u'|');
        if (!e.msnName.isEmpty())
            line += QLatin1String("|msn_name=") + e.msnName;
        events_ += QStringLiteral("  event: ") + line + u'\n';
    }

    QString events_;
    bool hostShown_ = false;

    QString recordText(int tei)
    {
        if (tei < 1 || tei > CallState::kTerminals)
            return {};
        const IdRecord& r = rec(tei);
        return QStringLiteral("record %1: active=%2 incoming=%3 caller=%4 connected=%5 called=%6 channel=%7 units=%8")
            .arg(QString::number(tei, 16).toUpper())
            .arg(int(r.Activated))
            .arg(int(r.Incoming))
            .arg(r.CallerNumber, r.ConnectedNumber, r.CalledDigits, r.Channel, r.CostUnits);
    }
    QString treeText()
    {
        QStringList keys;
        for (const TreeNode& n : engine->TreeIDs().nodes())
            keys << n.text;
        return QStringLiteral("tree: ") + keys.join(u' ');
    }
    std::array<QString, 3> panes() const
    {
        return {engine->Text1().text(), engine->Text2().text(), engine->Text3().text()};
    }

    // One script line; the log gets what it changed.
    void run(const QString& line, QString& log)
    {
        const QStringList before = engine->stateSnapshot().split(u'\n');
        const std::array<QString, 3> old = panes();
        const QString tree = treeText();
        const int calls = engine->callList().count();
        const std::pair<bool, bool> quiet{d().channels[0].quiet, d().channels[1].quiet};
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        int tei = 0;
        QString record;
        if (words[0] == u'>' || words[0] == u'<') {
            Octets octets;
            for (const QString& w : words.mid(1))
                octets.push_back(w.toInt(nullptr, 16));
            tei = octets.size() > 1 ? octets[1] : 0;
            record = recordText(tei);
            frame(octets, words[0] == u'<');
        } else if (words[0] == u"level") {
            setLevel(words.value(1).toInt());
        } else if (words[0] == u"wait") {
            clock.advance(words.value(1).toInt());
        } else if (words[0] == u"reset") {
            engine->reset();
        } else if (words[0] == u"set") {
            settings->write(words.value(1), words.value(2));
            applySettings();
        } else if (words[0] == u"prefix") {
            setDialPrefix(words.value(1));
        } else if (words[0] == u"host") {
            hostShown_ = true;
            engine->setViewState({words.value(1) == u"1", words.value(2) == u"1"});
        } else if (words[0] == u"ignore") {
            MonitorInputs in = engine->inputs();
            in.ignored = IgnoreList(words.mid(1).join(u'\n'), in.numberPlan);
            engine->setInputs(in);
        }
        log += line + u'\n';
        const std::array<QString, 3> now = panes();
        for (int i = 0; i < 3; ++i) {
            const QString added = now[i].mid(now[i].startsWith(old[i]) ? old[i].size() : 0);
            for (const QString& l : added.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
                log += QStringLiteral("  Text%1| %2\n").arg(i + 1).arg(l);
        }
        for (const QString& s : engine->stateSnapshot().split(u'\n'))
            if (!before.contains(s) && !s.isEmpty())
                log += QStringLiteral("  ") + s + u'\n';
        if (tei && recordText(tei) != record)
            log += QStringLiteral("  ") + recordText(tei) + u'\n';
        if (treeText() != tree)
            log += QStringLiteral("  ") + treeText() + u'\n';
        for (int i = engine->callList().count() - calls - 1; i >= 0; --i)
            log += QStringLiteral("  call: ") + CallList::toLine(engine->callList().records()[i]) + u'\n';
        log += std::exchange(events_, {});
        if (quiet != std::pair<bool, bool>{d().channels[0].quiet, d().channels[1].quiet})
            log += QStringLiteral("  quiet A=%1 B=%2\n").arg(d().channels[0].quiet).arg(d().channels[1].quiet);
    }
};

const QString kScripts = QStringLiteral(CORVANE_SOURCE_DIR "/tests/engine/data/frames");

TEST_P(FrameScript, LogsWhatItsFileExpects)
{
    const QString name = QString::fromStdString(GetParam());
    QFile f(kScripts + u'/' + name + QStringLiteral(".frames"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QString log;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts))
        if (line.startsWith(u'#'))
            log += line + u'\n';
        else
            run(line.trimmed(), log);
    EXPECT_GOLDEN(QStringLiteral("engine/data/frames/%1.expected").arg(name), log);
}

INSTANTIATE_TEST_SUITE_P(
    Data, FrameScript, ::testing::ValuesIn(goldenCases("engine/data/frames", "*.frames")), goldenCaseName);

} // namespace
