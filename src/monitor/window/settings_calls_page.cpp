#include "monitor/window/settings_calls_page.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "monitor/window/twips.h"
#include "monitor/window/wave_device.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

CallsSettingsPage::CallsSettingsPage(SettingsStore& settings, WaveDevice& wave, std::function<void()> changed,
    std::function<QString()> chooseWaveFile, QWidget* parent)
    : SettingsPage(settings, std::move(changed), "PageCalls", parent), wave_(wave),
      chooseWaveFile_(std::move(chooseWaveFile))
{
    buildFrames();
    connectBoxes();
}

void CallsSettingsPage::buildFrames()
{
    const double dpi = this->dpi();
    auto place = [dpi](QWidget* w, int l, int t, int width, int height) {
        w->setGeometry(twips::rect(l, t, width, height, dpi));
    };
    auto box = [&](QWidget* parent, const char* name, const QString& caption, int l, int t) {
        auto* c = new QCheckBox(caption, parent);
        c->setObjectName(QLatin1String(name));
        c->adjustSize();
        c->move(twips::toPx(l, dpi), twips::toPx(t, dpi));
        return c;
    };
    // The design's positions, widened by kWider twips so that the captions fit
    // today's fonts without running under the button and the prefix field.
    constexpr int kWider = 900;
    auto* notifications = new QGroupBox(tr("Notifications"), this);
    notifications->setObjectName(QStringLiteral("FrameNotifications"));
    place(notifications, 120, 0, 3900 + kWider, 1485);
    // The inner frame of the design, ending short of the button.
    auto* inner1 = new QWidget(notifications);
    place(inner1, 240, 165, 2250 + kWider - 240 - 60, 1485 - 165 - 60);
    Check1 = box(inner1, "Check1", tr("Popup on incoming call"), 210, 210);
    // 60 twips lower than designed: today's check boxes are taller than 240 twips.
    Check2 = box(inner1, "Check2", tr("Enable ring sound"), 210, 510);
    Check3 = box(inner1, "Check3", tr("Enable caller ID sound"), 210, 810);
    Command1 = new QPushButton(tr("Select sound ..."), notifications);
    Command1->setObjectName(QStringLiteral("Command1"));
    place(Command1, 2250 + kWider, 720, 1335, 360);
    // Wide enough for its caption, growing leftwards from the design's right edge.
    const int grow = std::max(0, Command1->sizeHint().width() - Command1->width());
    Command1->setGeometry(Command1->geometry().adjusted(-grow, 0, 0, 0));

    auto* events = new QGroupBox(tr("Select events to log"), this);
    events->setObjectName(QStringLiteral("FrameEvents"));
    place(events, 120, 1560, 3900 + kWider, 2250);
    Check4 = box(events, "Check4", tr("Answered calls (Answer)"), 120 + 240, 195 + 225);
    Check5 = box(events, "Check5", tr("Unanswered calls (Ring)"), 120 + 240, 195 + 540);
    Check6 = box(events, "Check6", tr("Connected outgoing calls (Called)"), 120 + 240, 195 + 870);
    Check7 = box(events, "Check7", tr("Unconnected outgoing calls (Try)"), 120 + 240, 195 + 1230);
    Check8 = box(events, "Check8", tr("Caller ID events (CID)"), 120 + 240, 195 + 1515);

    auto* prefix = new QGroupBox(tr("Dial Prefix"), this);
    prefix->setObjectName(QStringLiteral("FramePrefix"));
    place(prefix, 120, 3840, 3855 + kWider, 735);
    auto* label = new QLabel(tr("Prefix used for outgoing calls:"), prefix);
    label->setObjectName(QStringLiteral("LabelPrefix"));
    label->adjustSize();
    label->move(twips::toPx(120, dpi), twips::toPx(360, dpi));
    Text1 = new QLineEdit(prefix);
    Text1->setObjectName(QStringLiteral("Text1"));
    place(Text1, 2280 + kWider, 330, 1455, 285);
}

void CallsSettingsPage::connectBoxes()
{
    auto flag = [this](QCheckBox* box, QLatin1String key) {
        connect(box, &QCheckBox::toggled, this, [this, key](bool on) { storeFlag(key, on); });
    };
    flag(Check1, key::Popup);
    flag(Check4, key::LogAns);
    flag(Check5, key::LogRing);
    flag(Check6, key::LogDial);
    flag(Check7, key::LogTry);
    flag(Check8, key::LogCID);
    connect(Check2, &QCheckBox::toggled, this, [this](bool on) { soundSwitched(key::Ring, on); });
    connect(Check3, &QCheckBox::toggled, this, [this](bool on) { soundSwitched(key::IDSound, on); });
    connect(Command1, &QPushButton::clicked, this, &CallsSettingsPage::Command1_Click);
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) { store(key::DialPrefixNumber, text); });
}

void CallsSettingsPage::loadBoxes()
{
    if (settings().isOne(key::Ring)) {
        Check2->setChecked(true);
        // The sound starts once more from its beginning.
        wave::playFromStart(wave_, settings().read(key::WavFile), QStringLiteral("Previous"));
    } else {
        Check2->setChecked(false);
    }
    // A value other than the number 1 (also one that is no number) leaves its box clear.
    const std::pair<QLatin1String, QCheckBox*> boxes[] = {
        {key::IDSound, Check3},
        {key::Popup, Check1},
        {key::LogAns, Check4},
        {key::LogRing, Check5},
        {key::LogDial, Check6},
        {key::LogTry, Check7},
        {key::LogCID, Check8},
    };
    for (const auto& [name, box] : boxes)
        box->setChecked(settings().isOne(name));
    Text1->setText(settings().read(key::DialPrefixNumber));
}

void CallsSettingsPage::testPlay()
{
    wave_.setFileName(settings().read(key::WavFile));
    wave_.command(QStringLiteral("Open"));
    wave_.command(QStringLiteral("Previous"));
    wave_.command(QStringLiteral("Play"));
}

// "Ring" and "IDSound": ticked, the sound plays once as a test.
void CallsSettingsPage::soundSwitched(QLatin1String key, bool ticked)
{
    storeFlag(key, ticked);
    if (ticked)
        testPlay();
    else
        wave_.command(QStringLiteral("Close"));
}

void CallsSettingsPage::Command1_Click()
{
    const QString chosen = chooseWaveFile_ ? chooseWaveFile_() : QString();
    if (chosen.isEmpty())
        return; // cancelled: nothing stored, nothing played
    store(key::WavFile, chosen);
    wave::playFromStart(wave_, settings().read(key::WavFile));
}
