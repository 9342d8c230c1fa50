#include "monitor/window/formmonitor_settings.h"

#include "monitor/window/settings_automation_page.h"
#include "monitor/window/settings_calls_page.h"
#include "monitor/window/settings_network_page.h"
#include "monitor/window/twips.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>

FormMonitorSettings::FormMonitorSettings(
    SettingsStore& settings, WaveDevice& wave, std::function<void()> changed, QWidget* parent)
    : QDialog(parent), changed_(std::move(changed))
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
    buildLayout(settings, wave);
    for (SettingsPage* page : pages_)
        connect(page, &SettingsPage::networkEdited, this, &FormMonitorSettings::networkChanged);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void FormMonitorSettings::buildLayout(SettingsStore& settings, WaveDevice& wave)
{
    const double dpi = twips::dpiOf(this);
    // Three pages under tabs, so the window fits a small screen at a large font.
    auto* tabs = new QTabBar(this);
    tabs->setObjectName(QStringLiteral("TabBarSettings"));
    auto* stack = new QStackedWidget(this);
    stack->setObjectName(QStringLiteral("StackSettings"));
    connect(tabs, &QTabBar::currentChanged, stack, &QStackedWidget::setCurrentIndex);
    auto add = [&](SettingsPage* page, const QString& title) {
        stack->addWidget(page);
        tabs->addTab(title);
        return page;
    };
    calls_ = new CallsSettingsPage(
        settings, wave, changed_, [this] { return chooseWaveFile ? chooseWaveFile(this) : QString(); }, stack);
    network_ = new NetworkSettingsPage(settings, changed_, stack);
    automation_ = new AutomationSettingsPage(settings, changed_, stack);
    pages_ = {
        add(calls_, tr("Calls")), add(network_, tr("Desktop and network")), add(automation_, tr("Home automation"))};

    const int margin = twips::toPx(120, dpi);
    QSize content;
    for (const QGroupBox* frame : stack->findChildren<QGroupBox*>())
        content = content.expandedTo(QSize(frame->geometry().right() + 1, frame->geometry().bottom() + 1));
    tabs->setGeometry(margin, margin / 2, content.width() - margin, tabs->sizeHint().height());
    stack->setGeometry(0, tabs->geometry().bottom() + margin / 2, content.width(), content.height());
    OKButton = new QPushButton(tr("Close"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true); // Enter closes the window, whichever page shows
    OKButton->setGeometry(margin, stack->geometry().bottom() + margin, content.width() - margin, twips::toPx(375, dpi));
    setFixedSize(content.width() + margin, OKButton->geometry().bottom() + margin);
}

void FormMonitorSettings::setAdapterMsns(const QStringList& msns)
{
    network_->adapterMsns = msns;
}

void FormMonitorSettings::Form_Load()
{
    for (SettingsPage* page : pages_)
        page->load();
    networkChanged();
    if (changed_)
        changed_();
}

void FormMonitorSettings::networkChanged()
{
    for (SettingsPage* page : pages_)
        page->enableNetworkFields();
    outputs_ = applyNetwork ? applyNetwork() : nullptr;
    if (outputs_) // a broker answers later: its state is shown as it comes
        connect(outputs_, &CallOutputs::stateChanged, this, &FormMonitorSettings::showStates, Qt::UniqueConnection);
    showStates();
}

void FormMonitorSettings::showStates()
{
    const auto state = [this](OutputId id) { return outputs_ ? outputs_->stateText(id) : QString(); };
    network_->showNcidState(state(OutputId::Ncid));
    automation_->showStates(state(OutputId::CallMonitor), state(OutputId::Mqtt));
}
