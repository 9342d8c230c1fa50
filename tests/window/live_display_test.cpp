// Lamps, ring loop, popup and caller-ID sound on the virtual clock.
#include "../common/engine_probe.h"
#include "window_fixture.h"

#include "monitor/window/lamp_pictures.h"
#include "monitor/window/picture_label.h"

#include <QLabel>

namespace {

int lampOf(FormMonitor& m, const char* name)
{
    auto* lamp = m.findChild<PictureLabel*>(name);
    return lamp ? lamp->lamp() : -1;
}

} // namespace

TEST_F(WindowTest, ConnectedAndRingingLampsBlinkAndActiveLampsStaySteady)
{
    FormMonitor& m = makeMonitor();
    m.open();
    ChannelState& a = EngineProbe::channel(m.engine(), 0);
    ChannelState& b = EngineProbe::channel(m.engine(), 1);
    a.active = true;              // Check1
    a.phase = CallPhase::Talking; // Check3
    b.active = true;              // Check2
    b.ringSounds = true;          // Check6
    struct Tick {
        qint64 ms;
        int active, connected, ringing;
    };
    const Tick ticks[] = {
        {400, lamps::Green, lamps::Red, lamps::Blue},
        {800, lamps::Green, lamps::Blank, lamps::Blank},
        {1200, lamps::Green, lamps::Red, lamps::Blue},
    };
    for (const Tick& t : ticks) {
        clock.advanceTo(t.ms);
        EXPECT_EQ(lampOf(m, "Image11"), t.active) << t.ms;
        EXPECT_EQ(lampOf(m, "Image12"), t.connected) << t.ms;
        EXPECT_EQ(lampOf(m, "Image14"), t.active) << t.ms;
        EXPECT_EQ(lampOf(m, "Image16"), t.ringing) << t.ms;
        EXPECT_EQ(lampOf(m, "Image13"), lamps::Grey) << t.ms;
        EXPECT_EQ(lampOf(m, "Image15"), lamps::Grey) << t.ms;
    }
    a = b = ChannelState{};
    clock.advanceTo(1600);
    for (const char* lamp : {"Image11", "Image12", "Image14", "Image16"})
        EXPECT_EQ(lampOf(m, lamp), lamps::Grey) << lamp;
}

TEST_F(WindowTest, AFlagSetAndClearedBetweenTicksLeavesNoTrace)
{
    FormMonitor& m = makeMonitor();
    m.open();
    clock.advanceTo(450);
    EngineProbe::channel(m.engine(), 0).active = true;
    clock.advanceTo(700);
    EngineProbe::channel(m.engine(), 0).active = false;
    clock.advanceTo(900);
    EXPECT_EQ(lampOf(m, "Image11"), lamps::Grey);
}

TEST_F(WindowTest, ClickingARingLampEndsThatChannelsRingFlagOnly)
{
    FormMonitor& m = makeMonitor();
    m.open();
    EngineProbe::channel(m.engine(), 0).ringSounds = true;
    EngineProbe::channel(m.engine(), 1).ringSounds = true;
    emit m.findChild<PictureLabel*>("Image13")->clicked();
    EXPECT_EQ(m.engine().display().channels[0].ringing, 0);
    EXPECT_EQ(m.engine().display().channels[1].ringing, 1);
    emit m.findChild<PictureLabel*>("Image12")->clicked(); // other lamps do nothing
    emit m.findChild<PictureLabel*>("Image16")->clicked();
    EXPECT_EQ(m.engine().display().channels[1].ringing, 0);
}

TEST_F(WindowTest, TheTrafficLampFlashesRedForADecodedFrameUntilTheNextTick)
{
    FormMonitor& m = makeMonitor();
    m.open();
    EngineProbe::state(m.engine()).trafficLamp = 2;
    EngineProbe::notifyDisplay(m.engine());
    EXPECT_EQ(lampOf(m, "ImageLED"), lamps::Red);
    clock.advanceTo(400);
    EXPECT_EQ(lampOf(m, "ImageLED"), lamps::Grey);
}

TEST_F(WindowTest, TheRingLoopPlaysEveryPeriodOnlyWhileRingingWithRingOn)
{
    struct Case {
        const char* what;
        int ring;
        int check5, check6;
        int plays; // by 11200 ms
    };
    const Case cases[] = {
        {"ringing A, Ring on", 1, 1, 0, 2},
        {"ringing B, Ring on", 1, 0, 1, 2},
        {"ringing, Ring off", 0, 1, 1, 0},
        {"quiet, Ring on", 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        waveLog.log.clear();
        clock.advance(0);
        settings().write("Ring", QString::number(c.ring));
        FormMonitor& m = makeMonitor();
        const qint64 start = clock.elapsed();
        m.open();
        EngineProbe::channel(m.engine(), 0).ringSounds = c.check5;
        EngineProbe::channel(m.engine(), 1).ringSounds = c.check6;
        clock.advanceTo(start + 5599);
        EXPECT_EQ(waveLog.plays(), 0);
        clock.advanceTo(start + 11200);
        EXPECT_EQ(waveLog.plays(), c.plays);
        if (c.plays > 0) {
            EXPECT_EQ(
                waveLog.log.mid(0, 5), QStringList({"Close", "file:" + file("ring.wav"), "Open", "Prev", "Play"}));
        }
        m.close();
    }
}

TEST_F(WindowTest, TheCallerIdSoundRestartsTheRingLoop)
{
    settings().write("Ring", "1");
    FormMonitor& m = makeMonitor();
    m.open();
    EngineProbe::channel(m.engine(), 0).ringSounds = true;
    clock.advanceTo(3000);
    m.ringLoop().playBetween(file("bell.wav"));
    EXPECT_EQ(waveLog.log, QStringList({"Close", "file:" + file("bell.wav"), "Open", "Prev", "Play"}));
    clock.advanceTo(8599);
    EXPECT_EQ(waveLog.plays(), 1);
    clock.advanceTo(8600);
    EXPECT_EQ(waveLog.plays(), 2);
}

TEST_F(WindowTest, APopupShowsTheWindowForSixSecondsAndRestoresItsVisibility)
{
    struct Case {
        const char* what;
        bool visibleBefore;
        bool minimisedBefore;
    };
    const Case cases[] = {
        {"hidden", false, false},
        {"visible", true, false},
        {"minimised", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FormMonitor& m = makeMonitor();
        m.open();
        if (c.minimisedBefore)
            m.showMinimized();
        if (!c.visibleBefore)
            m.hide();
        const qint64 t0 = clock.elapsed();
        m.popup().popUp(m.isVisible());
        m.popup().keepOnTop(true);
        EXPECT_TRUE(m.isVisible());
        EXPECT_TRUE(m.windowStateNormal());
        EXPECT_TRUE(m.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        clock.advanceTo(t0 + 5999);
        EXPECT_TRUE(m.isVisible());
        clock.advanceTo(t0 + 6000);
        EXPECT_EQ(m.isVisible(), c.visibleBefore);
        EXPECT_FALSE(m.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(m.windowStateNormal()); // the state is not restored
        m.close();
    }
}

// With Popup and caller-ID sound on, an announced caller shows the hidden
// window on top for six seconds and plays; without them the window neither
// shows nor goes on top (nothing would take it off again). The notice follows
// "Desktop notification" alone (on here only with Popup off).
TEST_F(WindowTest, AnAnnouncedCallerPopsUpPlaysAndPostsADesktopNoticeWhenAsked)
{
    const QList<CaptureLine> capture = renderScenario(QStringLiteral("incoming-answered"));
    ASSERT_FALSE(capture.isEmpty()) << "dodova-sim must be built";
    writeText("book.txt", "Ada Lovelace\t03012345678\t\t\t\t-\r\n");
    for (const bool asked : {true, false}) {
        SCOPED_TRACE(asked ? "Popup and IDSound on" : "off");
        settings().write("Popup", asked ? "1" : "0");
        settings().write("IDSound", asked ? "1" : "0");
        settings().write("Notify", asked ? "0" : "1");
        waveLog.log.clear();
        notices.clear();
        clock.advance(0);
        const qint64 start = clock.elapsed();
        FormMonitor& m = makeMonitor();
        m.open();
        m.hide();
        // A line is decoded when the next line's "L" arrives.
        const qint64 announced = start + capture.at(1).ms;
        QList<CaptureLine> shifted = capture;
        for (CaptureLine& l : shifted)
            l.ms += start;
        feedCapture(m.engine(), clock, shifted, start, announced);
        EXPECT_EQ(m.isVisible(), asked);
        EXPECT_EQ(m.windowFlags().testFlag(Qt::WindowStaysOnTopHint), asked); // on top only for a popup
        EXPECT_EQ(waveLog.plays(), asked ? 1 : 0);
        EXPECT_EQ(notices, asked ? QStringList() : QStringList{"Ada Lovelace|03012345678\ncalls MSN 4711, channel A"});
        EXPECT_EQ(m.findChild<QLabel*>("LabelCID")->text(), "03012345678");
        clock.advanceTo(announced + 6000);
        EXPECT_FALSE(m.isVisible());
        EXPECT_FALSE(m.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        m.close();
    }
}

TEST_F(WindowTest, AnAnsweredCallShowsOnChannelAWithLampsDurationAndEndsInTheList)
{
    const QList<CaptureLine> capture = renderScenario(QStringLiteral("incoming-answered"));
    ASSERT_FALSE(capture.isEmpty());
    FormMonitor& m = makeMonitor();
    m.open();
    const qint64 announced = capture.at(1).ms; // a line is decoded when the next line's "L" arrives
    feedCapture(m.engine(), clock, capture, 0, announced);
    const QString cid = m.findChild<QLabel*>("LabelCID")->text(); // the number, then the place marked as such
    EXPECT_TRUE(cid.startsWith("03012345678 <span style=\"font-style:italic;") && cid.endsWith(">(Berlin)</span>"))
        << cid.toStdString();
    feedCapture(m.engine(), clock, capture, announced + 1, 20000);
    EXPECT_EQ(m.findChild<QLabel*>("Label1")->text(), "03012345678");
    EXPECT_EQ(m.findChild<QLabel*>("LabelMSNA")->text(), "4711");
    const QLabel* name = m.findChild<QLabel*>("Label19"); // no contact names the caller: where the number is from
    EXPECT_EQ(name->text(), "Berlin");
    EXPECT_TRUE(name->font().italic()) << "a place must not look like a phone-book name";
    EXPECT_EQ(lampOf(m, "Image11"), lamps::Green);
    EXPECT_NE(m.findChild<QLabel*>("LabelDur1")->text(), "-");
    EXPECT_EQ(lampOf(m, "Image14"), lamps::Grey);
    feedCapture(m.engine(), clock, capture, 20001, 70000);
    EXPECT_EQ(lampOf(m, "Image11"), lamps::Grey);
    ASSERT_GE(m.engine().callList().count(), 1);
    EXPECT_EQ(m.engine().callList().records().first().type, "Answer");
    QFile list(file("list.txt"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly)); // written at once, not only at closing
    EXPECT_TRUE(list.readAll().contains("Answer"));
}
