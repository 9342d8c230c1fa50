#include "ui/dialog.h"

#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "device/at_channel.h"
#include "ui/language.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace {

const char* const kSpeeds[] = {"115200", "56000", "28800", "14400", "9600", "2400"};
constexpr float kQuickPace = 0.01f;
constexpr float kSlowPace = 0.2f;

QLabel* staticLine(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

Dialog::Dialog(AtChannel& at, QWidget* parent) : QDialog(parent), at_(at)
{
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(tr("Serial Port Options"));
    setModal(true);
    buildWindow();
    Form_Load();
}

void Dialog::buildWindow()
{
    auto* ports = new QGroupBox(tr("Port Selection"), this);
    ports->setObjectName(QStringLiteral("Frame1"));
    auto* portLayout = new QVBoxLayout(ports);
    option1_ = new QButtonGroup(this);
    option1_->setObjectName(QStringLiteral("Option1"));
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(QStringLiteral("COM%1").arg(i + 1), ports);
        b->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option1_->addButton(b, i);
        portLayout->addWidget(b);
    }
#ifndef Q_OS_WIN
    // The device file behind the selected port number: one of the ports the
    // system lists, or a path typed in (a USB adapter, a pseudo-terminal), or
    // tcp://HOST:PORT for an adapter behind ser2net on another machine.
    portLayout->addWidget(staticLine(tr("Device:"), QStringLiteral("LabelDevice"), ports));
    device_ = new QComboBox(ports);
    device_->setObjectName(QStringLiteral("PortDevice"));
    device_->setEditable(true);
    device_->setInsertPolicy(QComboBox::NoInsert);
    device_->setMinimumContentsLength(28); // "/dev/serial/by-id/..." and temporary links
    device_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    device_->setToolTip(tr("A device file, or tcp://HOST:PORT for an adapter behind ser2net"));
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        device_->addItem(info.systemLocation());
    portLayout->addWidget(device_);
    connect(device_, &QComboBox::textActivated, this, &Dialog::deviceChosen);
    connect(device_->lineEdit(), &QLineEdit::editingFinished, this, [this] { deviceChosen(device_->currentText()); });
#endif
    portLayout->addStretch();

    auto* speeds = new QGroupBox(tr("Port Speed"), this);
    speeds->setObjectName(QStringLiteral("Frame2"));
    auto* speedLayout = new QVBoxLayout(speeds);
    option2_ = new QButtonGroup(this);
    option2_->setObjectName(QStringLiteral("Option2"));
    for (int i = 0; i < 6; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(kSpeeds[i]), speeds);
        b->setObjectName(QStringLiteral("Option2_%1").arg(i));
        option2_->addButton(b, i);
        speedLayout->addWidget(b);
    }

    auto* slow = new QGroupBox(tr("Slow Responses"), this);
    slow->setObjectName(QStringLiteral("Frame3"));
    auto* slowLayout = new QVBoxLayout(slow);
    check1_ = new QCheckBox(tr("Slow Response"), slow);
    check1_->setObjectName(QStringLiteral("Check1"));
    slowLayout->addWidget(check1_);
    slowLayout->addWidget(staticLine(tr("Try clicking here"), QStringLiteral("Label1"), slow));
    slowLayout->addWidget(staticLine(tr("if you are having"), QStringLiteral("Label2"), slow));
    slowLayout->addWidget(staticLine(tr("problems."), QStringLiteral("Label3"), slow));
    slowLayout->addStretch();

    auto* done = new QPushButton(tr("Done"), this);
    done->setObjectName(QStringLiteral("Command1"));
    done->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(ports, 0, 0);
    grid->addWidget(speeds, 0, 1);
    grid->addWidget(slow, 0, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(languageChoice());
    buttons->addStretch();
    buttons->addWidget(done);
    grid->addLayout(buttons, 1, 0, 1, 3);

    connect(option1_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            Option1_Click(id);
    });
    connect(option2_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            Option2_Click();
    });
    connect(check1_, &QCheckBox::stateChanged, this, &Dialog::Check1_Click);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
}

// The "Language" setting: the locale's (System), English, or one of our
// translations by its own name. The running windows keep theirs.
QWidget* Dialog::languageChoice()
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("LanguageArea"));
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    language_ = new QComboBox(area);
    language_->setObjectName(QStringLiteral("LanguageChoice"));
    language_->setToolTip(tr("Applies when Corvane starts again"));
    language_->addItem(tr("System"), QString());
    language_->addItem(QStringLiteral("English"), QLatin1String(language::kEnglish));
    for (const language::Translation& t : language::kTranslations)
        language_->addItem(QString::fromUtf8(t.name), QLatin1String(t.code));
    language_->setCurrentIndex(std::max(0, language_->findData(SettingsStore::user().read(key::Language))));
    connect(language_, &QComboBox::currentIndexChanged, this,
        [this] { SettingsStore::user().write(key::Language, language_->currentData().toString()); });
    QLabel* caption = staticLine(tr("Language:"), QStringLiteral("LabelLanguage"), area);
    caption->setBuddy(language_);
    row->addWidget(caption);
    row->addWidget(language_);
    return area;
}

void Dialog::Form_Load()
{
    const LineSettings& line = at_.line();
    if (line.pause == kQuickPace)
        check1_->setChecked(false);
    else if (line.pause == kSlowPace)
        check1_->setChecked(true);

    // A stored number outside 1..4 has no option: none is selected and the
    // number stays as it is until the user picks one.
    if (QAbstractButton* b = option1_->button(line.port - 1)) {
        b->setChecked(true); // runs Option1_Click: SetPort saves the same number again
    }
    showDeviceOf(at_.line().port);

    for (int i = 0; i < 6; ++i)
        if (at_.line().speed == QLatin1String(kSpeeds[i])) {
            option2_->button(i)->setChecked(true);
            break;
        }
}

void Dialog::Option1_Click(int index)
{
    at_.SetPort(index + 1);
    showDeviceOf(index + 1);
}

void Dialog::Option2_Click()
{
    LineSettings line = at_.line();
    for (int i = 0; i < 6; ++i)
        if (option2_->button(i)->isChecked())
            line.speed = QString::fromLatin1(kSpeeds[i]);
    at_.configure(line);
}

void Dialog::Check1_Click()
{
    const Qt::CheckState state = check1_->checkState();
    LineSettings line = at_.line();
    if (state == Qt::Checked)
        line.pause = kSlowPace;
    else if (state == Qt::Unchecked)
        line.pause = kQuickPace;
    at_.configure(line);
}

void Dialog::showDeviceOf(int port)
{
    if (!device_)
        return;
    const QSignalBlocker block(device_);
    device_->setEditText(SettingsStore::user().portPath(port));
}

void Dialog::deviceChosen(const QString& path)
{
    const QString device = path.trimmed();
    if (device.isEmpty() || device == SettingsStore::user().portPath(at_.line().port))
        return;
    SettingsStore::user().setPortPath(at_.line().port, device);
    // A device picked by hand wins over a --port or --simulate mapping.
    SettingsStore::user().overridePortPath(0, QString());
}
