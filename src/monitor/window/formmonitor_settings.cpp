#include "monitor/window/formmonitor_settings.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "monitor/window/number_settings.h"
#include "monitor/window/twips.h"
#include "monitor/window/wave_device.h"
#include "phonebook/ignore_list.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTabBar>
#include <algorithm>

namespace {

QString wavFile(const SettingsStore& settings)
{
    return settings.read(key::WavFile);
}

} // namespace

FormMonitorSettings::FormMonitorSettings(
    SettingsStore& settings, WaveDevice& wave, std::function<void()> changed, QWidget* parent)
    : QDialog(parent), settings_(settings), wave_(wave), changed_(std::move(changed))
{
    setObjectName(QStringLiteral("FormMonitorSettings"));
    setWindowTitle(tr("Call Monitor Settings"));
    setModal(true);
    QFont f = font();
    f.setPointSizeF(8.0);
    setFont(f);
    chooseWaveFile = [](QWidget* p) {
        return QFileDialog::getOpenFileName(p, tr("Open"), QString(), tr("Wav Files (*.wav)"));
    };
    buildLayout();
    connectBoxes();
}

void FormMonitorSettings::buildLayout()
{
    const double dpi = twips::dpiOf(this);
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
    // Three pages under tabs, so the window fits a small screen at a large font.
    auto* tabs = new QTabBar(this);
    tabs->setObjectName(QStringLiteral("TabBarSettings"));
    auto* pages = new QStackedWidget(this);
    pages->setObjectName(QStringLiteral("StackSettings"));
    connect(tabs, &QTabBar::currentChanged, pages, &QStackedWidget::setCurrentIndex);
    auto page = [&](const char* name, const QString& title) {
        auto* w = new QWidget(pages);
        w->setObjectName(QLatin1String(name));
        pages->addWidget(w);
        tabs->addTab(title);
        return w;
    };
    QWidget* calls = page("PageCalls", tr("Calls"));

    auto* notifications = new QGroupBox(tr("Notifications"), calls);
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

    auto* events = new QGroupBox(tr("Select events to log"), calls);
    events->setObjectName(QStringLiteral("FrameEvents"));
    place(events, 120, 1560, 3900 + kWider, 2250);
    Check4 = box(events, "Check4", tr("Answered calls (Answer)"), 120 + 240, 195 + 225);
    Check5 = box(events, "Check5", tr("Unanswered calls (Ring)"), 120 + 240, 195 + 540);
    Check6 = box(events, "Check6", tr("Connected outgoing calls (Called)"), 120 + 240, 195 + 870);
    Check7 = box(events, "Check7", tr("Unconnected outgoing calls (Try)"), 120 + 240, 195 + 1230);
    Check8 = box(events, "Check8", tr("Caller ID events (CID)"), 120 + 240, 195 + 1515);

    auto* prefix = new QGroupBox(tr("Dial Prefix"), calls);
    prefix->setObjectName(QStringLiteral("FramePrefix"));
    place(prefix, 120, 3840, 3855 + kWider, 735);
    auto* label = new QLabel(tr("Prefix used for outgoing calls:"), prefix);
    label->setObjectName(QStringLiteral("LabelPrefix"));
    label->adjustSize();
    label->move(twips::toPx(120, dpi), twips::toPx(360, dpi));
    Text1 = new QLineEdit(prefix);
    Text1->setObjectName(QStringLiteral("Text1"));
    place(Text1, 2280 + kWider, 330, 1455, 285);

    QWidget* network = page("PageNetwork", tr("Desktop and network"));
    buildNetworkFrame(network, buildNumbersFrame(network, buildDesktopFrame(network, 0)));
    buildAutomationFrames(page("PageAutomation", tr("Home automation")));

    const int margin = twips::toPx(120, dpi);
    QSize content;
    for (const QGroupBox* frame : pages->findChildren<QGroupBox*>())
        content = content.expandedTo(QSize(frame->geometry().right() + 1, frame->geometry().bottom() + 1));
    tabs->setGeometry(margin, margin / 2, content.width() - margin, tabs->sizeHint().height());
    pages->setGeometry(0, tabs->geometry().bottom() + margin / 2, content.width(), content.height());
    OKButton = new QPushButton(tr("Close"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(margin, pages->geometry().bottom() + margin, content.width() - margin, twips::toPx(375, dpi));
    setFixedSize(content.width() + margin, OKButton->geometry().bottom() + margin);
}

QGroupBox* FormMonitorSettings::addLowerFrame(
    QWidget* page, const char* name, const QString& title, int top, int heightTwips)
{
    auto* frame = new QGroupBox(title, page);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(twips::rect(120, top, kLowerFrameWidth, heightTwips, twips::dpiOf(this)));
    return frame;
}

QCheckBox* FormMonitorSettings::addSwitch(
    QGroupBox* frame, const char* name, const QString& caption, const QString& tip)
{
    const double dpi = twips::dpiOf(this);
    auto* box = new QCheckBox(caption, frame);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(tip);
    box->adjustSize();
    box->move(twips::toPx(kFieldIndent, dpi), twips::toPx(270, dpi));
    return box;
}

QLineEdit* FormMonitorSettings::addField(
    QGroupBox* frame, const char* name, const QString& caption, QPoint at, int widthTwips)
{
    const double dpi = twips::dpiOf(this);
    const int h = twips::toPx(kFieldHeight, dpi);
    auto* label = new QLabel(caption, frame);
    label->adjustSize();
    label->move(at.x(), at.y() + (h - label->height()) / 2);
    auto* edit = new QLineEdit(frame);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(
        label->geometry().right() + twips::toPx(kFieldSpace, dpi), at.y(), twips::toPx(widthTwips, dpi), h);
    return edit;
}

int FormMonitorSettings::buildDesktopFrame(QWidget* page, int top)
{
    constexpr int kHeight = 1080;
    const double dpi = twips::dpiOf(this);
    QGroupBox* frame = addLowerFrame(page, "FrameDesktop", tr("Desktop and numbers"), top, kHeight);
    Check9 = addSwitch(
        frame, "Check9", tr("Desktop notification"), tr("Announce each caller through the desktop's notifications"));

    // "Country code:" [49]   "Area code:" [30], each field after its caption.
    const int y = twips::toPx(630, dpi), gap = 3 * twips::toPx(kFieldSpace, dpi);
    TextCountryCode = addField(
        frame, "TextCountryCode", tr("Country code:"), QPoint(twips::toPx(kFieldIndent, dpi), y), 600);
    TextAreaCode = addField(
        frame, "TextAreaCode", tr("Area code:"), QPoint(TextCountryCode->geometry().right() + gap, y), 900);
    const std::pair<QLineEdit*, const char*> patterns[] = {
        {TextCountryCode, "\\+?[0-9]{0,5}"}, {TextAreaCode, "[0-9]{0,8}"}};
    for (const auto& [edit, pattern] : patterns) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QLatin1String(pattern)), edit));
        edit->setToolTip(tr("Names callers whose number the phone book holds in another form"));
    }
    return top + kHeight + kLowerFrameGap;
}

int FormMonitorSettings::buildNumbersFrame(QWidget* page, int top)
{
    constexpr int kHeight = 720;
    const double dpi = twips::dpiOf(this);
    QGroupBox* frame = addLowerFrame(page, "FrameNumbers", tr("Own numbers and ignored callers"), top, kHeight);
    CommandOwnNumbers = new QPushButton(tr("Own numbers ..."), frame);
    CommandOwnNumbers->setObjectName(QStringLiteral("CommandOwnNumbers"));
    CommandOwnNumbers->setToolTip(tr("A name for each MSN, shown with it in notifications and outputs"));
    CommandIgnored = new QPushButton(tr("Ignored callers ..."), frame);
    CommandIgnored->setObjectName(QStringLiteral("CommandIgnored"));
    CommandIgnored->setToolTip(tr("Numbers that ring no sound and are announced nowhere"));
    const int indent = twips::toPx(kFieldIndent, dpi), half = (frame->width() - 3 * indent) / 2;
    const int y = twips::toPx(270, dpi), h = twips::toPx(360, dpi);
    CommandOwnNumbers->setGeometry(indent, y, half, h);
    CommandIgnored->setGeometry(2 * indent + half, y, half, h);
    return top + kHeight + kLowerFrameGap;
}

void FormMonitorSettings::editOwnNumbers()
{
    OwnNumbersDialog dialog(settings_, this);
    if (dialog.exec() == QDialog::Accepted && changed_)
        changed_();
}

void FormMonitorSettings::editIgnoredCallers()
{
    IgnoredCallersDialog dialog(IgnoreList::defaultPath(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!dialog.store())
        QMessageBox::warning(
            this, windowTitle(), tr("The ignore list could not be written to %1.").arg(IgnoreList::defaultPath()));
    if (changed_)
        changed_();
}

void FormMonitorSettings::connectBoxes()
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
    connect(Check2, &QCheckBox::toggled, this, &FormMonitorSettings::Check2_Click);
    connect(Check3, &QCheckBox::toggled, this, &FormMonitorSettings::Check3_Click);
    connect(Command1, &QPushButton::clicked, this, &FormMonitorSettings::Command1_Click);
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) { store(key::DialPrefixNumber, text); });
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CommandOwnNumbers, &QPushButton::clicked, this, &FormMonitorSettings::editOwnNumbers);
    connect(CommandIgnored, &QPushButton::clicked, this, &FormMonitorSettings::editIgnoredCallers);
    connectDesktopFrame();
    connectNetworkFrame();
}

void FormMonitorSettings::connectDesktopFrame()
{
    connect(Check9, &QCheckBox::toggled, this, [this](bool on) { storeFlag(key::Notify, on); });
    for (const auto& [edit, key] :
        {std::pair{TextCountryCode, key::CountryCode}, std::pair{TextAreaCode, key::AreaCode}}) {
        connect(edit, &QLineEdit::textEdited, this, [this, key = key](const QString& text) { store(key, text); });
    }
}

void FormMonitorSettings::Form_Load()
{
    loading_ = true;
    if (settings_.isOne(key::Ring)) {
        Check2->setChecked(true);
        // The sound starts once more from its beginning.
        wave::playFromStart(wave_, wavFile(settings_), QStringLiteral("Previous"));
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
        box->setChecked(settings_.isOne(name));

    Text1->setText(settings_.read(key::DialPrefixNumber));
    Check9->setChecked(settings_.isOne(key::Notify));
    TextCountryCode->setText(settings_.read(key::CountryCode));
    TextAreaCode->setText(settings_.read(key::AreaCode));
    loadNetworkFrame();
    loading_ = false;
    if (changed_)
        changed_();
}

void FormMonitorSettings::store(const QString& key, const QString& value)
{
    settings_.write(key, value);
    if (changed_ && !loading_)
        changed_();
}

void FormMonitorSettings::storeFlag(const QString& key, bool ticked)
{
    store(key, ticked ? QStringLiteral("1") : QStringLiteral("0"));
}

void FormMonitorSettings::testPlay()
{
    wave_.setFileName(wavFile(settings_));
    wave_.command(QStringLiteral("Open"));
    wave_.command(QStringLiteral("Previous"));
    wave_.command(QStringLiteral("Play"));
}

void FormMonitorSettings::Check2_Click(bool ticked)
{
    storeFlag(key::Ring, ticked);
    if (ticked)
        testPlay();
    else
        wave_.command(QStringLiteral("Close"));
}

void FormMonitorSettings::Check3_Click(bool ticked)
{
    storeFlag(key::IDSound, ticked);
    if (ticked)
        testPlay();
    else
        wave_.command(QStringLiteral("Close"));
}

void FormMonitorSettings::Command1_Click()
{
    const QString chosen = chooseWaveFile ? chooseWaveFile(this) : QString();
    if (chosen.isEmpty())
        return; // cancelled: nothing stored, nothing played
    store(key::WavFile, chosen);
    wave::playFromStart(wave_, wavFile(settings_));
}
