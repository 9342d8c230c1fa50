// The settings window driven by command scripts (data/*.script): every
// command sent, message box, lamp colour, status text and disabled transfer
// button is logged, and the whole log is compared with the script's .expected
// file (CORVANE_UPDATE_GOLDENS=1 rewrites them). "sim_" scripts run against
// dodova-sim over a pseudo-terminal through the real channel, the others
// against a double that answers as SendAT would (data/fake_dodova.txt).
#include <gtest/gtest.h>

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTest>
#include <QtWidgets>

#include "common/service_address.h"
#include "common/golden.h"
#include "common/service_run.h"
#include "common/simulator_fixture.h"
#include "device/charge_counters.h"
#include "device/form1.h"
#include "ui/language.h"

namespace {

QString unescape(QString s)
{
    return s.replace(QLatin1String("\\r"), QLatin1String("\r")).replace(QLatin1String("\\n"), QLatin1String("\n"));
}
QString escape(QString s)
{
    return s.replace(u'\r', QLatin1String("\\r")).replace(u'\n', QLatin1String("\\n"));
}
QString dataPath(const QString& name)
{
    return QStringLiteral(CORVANE_SOURCE_DIR "/tests/device/data/") + name;
}
const char* yesNo(bool b)
{
    return b ? "yes" : "no";
}

QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class Session {
public:
    explicit Session(const QStringList& simArgs, bool onSimulator)
    {
        QLocale::setDefault(QLocale::c());
        if (onSimulator) {
            sim_ = std::make_unique<SimulatorLink>(simArgs);
            SettingsStore::user().overridePortPath(1, sim_->link());
            QObject::connect(&at_, &AtChannel::commandSent, [this](const QString& cmd) {
                if (cmd == killAfter_)
                    sim_->kill();
            });
        }
        makeForm();
    }
    bool up() const { return !sim_ || sim_->up(); }
    // The simulator's link as the logs name it.
    QString masked(QString log) const { return sim_ ? log.replace(sim_->link(), QStringLiteral("LINK")) : log; }
    QStringList log;

    void run(const QString& line)
    {
        log << QStringLiteral("$ ") + line;
        const QString verb = line.section(u' ', 0, 0), name = line.section(u' ', 1, 1);
        QString value = unescape(line.section(u' ', 2));
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        if (verb == u"click" || verb == u"text" || verb == u"grey") {
            if (verb == u"click")
                form_->findChild<QAbstractButton*>(name)->click();
            else if (verb == u"text")
                form_->findChild<QLineEdit*>(name)->setText(value);
            else
                form_->findChild<QCheckBox*>(name)->setCheckState(Qt::PartiallyChecked);
            logState();
        } else if (verb == u"registers") { // the register writes of a transmission alone
            form_->SendPOTS_Settings();
        } else if (verb == u"answer" && name.isEmpty()) { // the double's own answers again
            answers_.clear();
        } else if (verb == u"answer") { // "none": no answer in time, "error": refused
            answers_[name] = value == u"none"    ? AtReply({}, AtOutcome::Unanswered)
                             : value == u"error" ? AtReply(QStringLiteral("Error"), AtOutcome::Refused)
                                                 : AtReply(value);
        } else if (verb == u"reply") { // the next question's answer: yes, no, transmit, discard, cancel
            replies_ << name;
        } else if (verb == u"settle") { // what closing or opening the monitor asks first
            log << QStringLiteral("= go on: %1").arg(yesNo(form_->settleChanges()));
            logState();
        } else if (verb == u"service") { // "held": a running corvane-monitor (this process) holds the port,
            // nothing listens at its address; "deaf": it takes connections and never answers
            QFile::remove(serviceaddress::ownFile());
            if (name == u"deaf" && !deaf_.isListening())
                deaf_.listen(QHostAddress::LocalHost);
            const QString url = name == u"deaf" ? QStringLiteral("http://127.0.0.1:%1/").arg(deaf_.serverPort())
                                                : QStringLiteral("http://127.0.0.1:1/");
            if (name != u"none")
                serviceaddress::write(serviceaddress::ownFile(),
                    {url, "token", at_.portPath(), QCoreApplication::applicationPid()}, false);
        } else if (verb == u"monitor" && name == u"start") { // corvane-monitor on the simulator, tracing
            service_ = std::make_unique<ServiceRun>();
            service_->startOn(sim_->link(), {});
            ASSERT_TRUE(service_->said("monitoring ")) << service_->log().toStdString();
            logCommandsFromSimulator();
        } else if (verb == u"monitor" && name == u"stop-after") { // SIGTERM once the simulator got VALUE
            auto* poll = new QTimer(form_.get());
            QObject::connect(poll, &QTimer::timeout, poll, [this, poll, value] {
                if (sim_->commands().mid(logged_).contains(value))
                    service_->terminate(), poll->deleteLater();
            });
            poll->start(10);
        } else if (verb == u"monitor") { // "stop": it ends as on SIGTERM
            service_->stop();
            logCommandsFromSimulator();
        } else if (verb == u"given") { // --service: the URL with "token" or a "wrong" one, or "bare"
            const std::optional<serviceaddress::Address> running = serviceaddress::find();
            ASSERT_TRUE(running);
            QUrl url(running->url);
            if (name != u"bare")
                url.setPassword(name == u"token" ? QString::fromLatin1(running->token) : name);
            form_->setServiceUrl(url.toString());
        } else if (verb == u"detect") { // start-up's question to the service
            serviceaddress::Address silent;
            QString why;
            const Form1::ServiceFound found = form_->detectService(silent, why);
            log << QStringLiteral("= ") + (found == Form1::ServiceFound::Attached ? QStringLiteral("attached") : why);
            if (auto* through = form_->findChild<QLabel*>(QStringLiteral("ServiceText")))
                log << QStringLiteral("= ") + through->text();
        } else if (verb == u"statuses") { // every text of the status line as it is shown, once each
            QObject::connect(form_.get(), &Form1::statusShown, form_.get(), [this](const QString& text) {
                if (std::exchange(status_, text) != text)
                    log << QStringLiteral("~ ") + text;
            });
        } else if (verb == u"elsewhere") { // another front end's POST to the service, answered later
            const std::optional<serviceaddress::Address> running = serviceaddress::find();
            ASSERT_TRUE(running);
            QNetworkRequest r(QUrl(running->url).resolved(QUrl(QStringLiteral("api/v1/") + name)));
            r.setRawHeader("Authorization", "Bearer " + running->token);
            network_.post(r, QByteArray());
            QTest::qWait(500);         // sent, and queued by the service before the window asks
        } else if (verb == u"quiet") { // "on": the simulator's commands are not logged (their number varies)
            quiet_ = name == u"on";
        } else if (verb == u"device") { // another device for the port number, as the port options set it
            SettingsStore::user().overridePortPath(1, name);
        } else if (verb == u"port") {
            portOk_ = name == u"ok";
        } else if (verb == u"locale") {
            QLocale::setDefault(QLocale(name));
        } else if (verb == u"language") { // the texts from then on: "de", or "en" as the sources have them
            language::install(name == u"en" ? QString() : name);
        } else if (verb == u"click-during") { // the user clicks while the double answers a command
            clickDuring_ = {name, value};
        } else if (verb == u"kill-after") { // the adapter unplugged once the command is sent
            killAfter_ = name;
        } else if (verb == u"restart") { // the device keeps only what it saved; a new window
            ASSERT_TRUE(sim_->start());
            logged_ = 0;
            makeForm();
        } else if (verb == u"show") { // without names: every element the device fills
            const QString names = name.isEmpty() ? "(Check|Option|Text|Label_info|Label39|Labelu?cost).*"
                                                 : line.section(u' ', 1).replace(u' ', u'|');
            show(QRegularExpression(QStringLiteral("^(%1)$").arg(names)));
        } else if (verb == u"widgets") {
            widgets();
        } else if (verb == u"fit") {
            fit();
        } else if (verb == u"program") { // corvane itself on the simulator's link
            startProgram(line.section(u' ', 1).split(u' ', Qt::SkipEmptyParts));
        } else if (verb == u"wait-for") { // the simulator received the command; then VALUE ms more
            const QDeadlineTimer deadline(20000);
            while (!sim_->commands().mid(logged_).contains(name) && !deadline.hasExpired())
                QThread::msleep(20);
            QThread::msleep(value.toULong());
            logCommandsFromSimulator();
        } else if (verb == u"pause") { // NAME ms go by on the line (a simulated call rings)
            QThread::msleep(name.toULong());
        } else if (verb == u"terminate") {
            program_->terminate();
            program_->waitForFinished(10000);
            logCommandsFromSimulator();
            log << QStringLiteral("= exit %1").arg(program_->exitCode());
        } else if (verb == u"stamp") { // the reset time is now and saved at once
            const QString stamp = form_->findChild<QLabel*>(QStringLiteral("LabelRTime"))->text();
            const QDateTime t = QDateTime::currentDateTime();
            log << QStringLiteral("= stamp now %1, saved %2")
                       .arg(yesNo(stamp == resetStamp(t) || stamp == resetStamp(t.addSecs(-60))),
                           yesNo(SettingsStore::user().read(QStringLiteral("LastReset")) == stamp));
        } else {
            log << QStringLiteral("?? unknown line");
        }
    }

private:
    AtReply fakeDodova(const QString& cmd)
    {
        if (at_.deviceAbsent())
            return {{}, AtOutcome::NotSent};
        log << QStringLiteral("> ") + escape(cmd);
        if (cmd == clickDuring_.first)
            form_->findChild<QAbstractButton*>(std::exchange(clickDuring_, {}).second)->click();
        at_.showLamp(at_.busyColour());                  // what SendAT does to the lamp
        static const QMap<QString, AtReply> fixed = [] { // command, TAB, answer
            QMap<QString, AtReply> answers;
            for (const QString& line : readText(dataPath(QStringLiteral("fake_dodova.txt"))).split(u'\n'))
                if (line.contains(u'\t') && !line.startsWith(u'#'))
                    answers[line.section(u'\t', 0, 0)] = unescape(line.section(u'\t', 1));
            return answers;
        }();
        return answers_.value(cmd, answers_.value(QStringLiteral("*"), fixed.value(cmd)));
    }

    void makeForm()
    {
        form_.reset(); // its destructor unhooks the channel
        form_ = std::make_unique<Form1>(at_);
        form_->messageBox = [this](const QString& text, const QString& title) {
            log << QStringLiteral("! ") + title + u'|' + escape(text);
        };
        // A question is answered from the script, else with Yes, else Discard.
        form_->ask = [this](const QString& text, const QString& title, QMessageBox::StandardButtons buttons,
                         QMessageBox::StandardButton) {
            static const QMap<QString, QMessageBox::StandardButton> names = {{"yes", QMessageBox::Yes},
                {"no", QMessageBox::No}, {"transmit", QMessageBox::Save}, {"discard", QMessageBox::Discard},
                {"cancel", QMessageBox::Cancel}};
            const QMessageBox::StandardButton answer = !replies_.isEmpty()          ? names.value(replies_.takeFirst())
                                                       : buttons & QMessageBox::Yes ? QMessageBox::Yes
                                                                                    : QMessageBox::Discard;
            log << QStringLiteral("? ") + title + u'|' + escape(text) + QStringLiteral(" -> ") + names.key(answer);
            return answer;
        };
        if (!sim_) {
            form_->setSendFunction([this](const QString& cmd) { return fakeDodova(cmd); });
            form_->setPortTest([this] { return portOk_; });
        }
        QObject::connect(&at_, &AtChannel::lampChanged, form_.get(), [this](unsigned bgr) {
            const QColor c = form_->lampColour(bgr);
            if (c != form_->palette().color(QPalette::Button) && c != lamp_)
                log << QStringLiteral("lamp ") + (lamp_ = c).name();
        });
    }

    void logCommandsFromSimulator()
    {
        const QStringList received = sim_ ? sim_->commands() : QStringList();
        for (const QString& cmd : received.mid(logged_))
            if (!quiet_)
                log << QStringLiteral("> ") + cmd;
        logged_ = received.size();
    }

    void logState()
    {
        logCommandsFromSimulator();
        QStringList off;
        for (QPushButton* b : form_->findChildren<QPushButton*>(QRegularExpression("^Command(Read|Send|PR)")))
            if (!b->isEnabled())
                off << b->objectName();
        off.sort();
        log << QStringLiteral("= ") + form_->findChild<QLabel*>(QStringLiteral("StatusText"))->text();
        log << QStringLiteral("= off: ") + (off.isEmpty() ? QStringLiteral("none") : off.join(u' '));
        if (!form_->findChild<QLabel*>(QStringLiteral("PendingText"))->isHidden())
            log << QStringLiteral("= changes not transmitted");
    }

    // name=value of every element whose name matches, sorted; a check box 1 ticked, 2 greyed.
    void show(const QRegularExpression& names)
    {
        QStringList lines;
        for (QObject* o : form_->findChildren<QObject*>(names)) {
            QString value;
            if (auto* c = qobject_cast<QCheckBox*>(o))
                value = QString::number(c->checkState() == Qt::Checked            ? 1
                                        : c->checkState() == Qt::PartiallyChecked ? 2
                                                                                  : 0);
            else if (auto* b = qobject_cast<QAbstractButton*>(o))
                value = QString::number(b->isChecked());
            else if (auto* g = qobject_cast<QButtonGroup*>(o))
                value = QString::number(g->checkedId());
            else if (auto* e = qobject_cast<QLineEdit*>(o))
                value = e->text();
            else if (auto* l = qobject_cast<QLabel*>(o))
                value = l->text();
            else
                continue;
            lines << o->objectName() + u'=' + escape(value);
        }
        lines.sort();
        log << lines;
    }

    // Every named widget: class, caption, tool-tip.
    void widgets()
    {
        QStringList lines;
        for (QWidget* w : form_->findChildren<QWidget*>(QRegularExpression("^(?!qt_)."))) {
            QString caption;
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                caption = b->text();
            else if (auto* g = qobject_cast<QGroupBox*>(w))
                caption = g->title();
            else if (auto* l = qobject_cast<QLabel*>(w))
                caption = l->text();
            lines << QStringLiteral("%1 %2 \"%3\" tip \"%4\"")
                         .arg(w->objectName(), QLatin1String(w->metaObject()->className()), caption, w->toolTip());
        }
        lines.sort();
        log << lines;
    }

    // Shown on the offscreen screen: does the window fit, do its frames
    // scroll, is the bottom row in view without scrolling?
    void fit()
    {
        form_->show();
        QCoreApplication::processEvents();
        auto* scroll = form_->findChild<QScrollArea*>();
        auto* send = form_->findChild<QPushButton*>(QStringLiteral("CommandSend"));
        const QRect screen = form_->screen()->availableGeometry();
        const int info = form_->findChild<QWidget*>(QStringLiteral("FrameInfo"))->height();
        log << QStringLiteral("= %1x%2 screen: fits %3, scrolls across %4, down %5, CommandSend shown %6, "
                              "identification frame under two lines %7")
                   .arg(screen.width())
                   .arg(screen.height())
                   .arg(yesNo(screen.contains(form_->frameGeometry())),
                       yesNo(scroll && scroll->horizontalScrollBar()->maximum() > 0),
                       yesNo(scroll && scroll->verticalScrollBar()->maximum() > 0),
                       yesNo(!send->visibleRegion().isEmpty()), yesNo(info < 2 * form_->fontMetrics().height()));
    }

    void startProgram(const QStringList& args)
    {
        const QString run = store_.file(QStringLiteral("run"));
        QDir().mkpath(run);
        QFile(run).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), store_.file(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
        program_ = std::make_unique<QProcess>();
        program_->setProcessEnvironment(env);
        program_->setStandardOutputFile(QProcess::nullDevice());
        program_->start(QStringLiteral(CORVANE_BUILD_DIR "/corvane"),
            QStringList{"--port", sim_->link(), "--home", store_.home()} + args);
    }

    PrivateStore store_;
    std::unique_ptr<SimulatorLink> sim_;
    AtChannel at_;
    std::unique_ptr<Form1> form_;
    QStringList replies_;            // answers to the window's next questions
    QMap<QString, AtReply> answers_; // overrides of the double's answers; "*" for every command
    bool portOk_ = true;
    QColor lamp_;
    QString killAfter_;
    std::pair<QString, QString> clickDuring_;
    std::unique_ptr<QProcess> program_;
    std::unique_ptr<ServiceRun> service_;
    QTcpServer deaf_;
    QNetworkAccessManager network_;
    QString status_;
    bool quiet_ = false;
    qsizetype logged_ = 0;
};

class Form1Script : public ::testing::TestWithParam<std::string> {};

TEST_P(Form1Script, LogMatchesTheExpectedFile)
{
    const QString name = QString::fromStdString(GetParam()), base = dataPath(name);
    QStringList lines = readText(base + QStringLiteral(".script")).split(u'\n', Qt::SkipEmptyParts);
    const QStringList simArgs = lines.value(0).startsWith(QLatin1String("# sim")) // "# sim ARGS"
                                    ? lines.value(0).mid(5).split(u' ', Qt::SkipEmptyParts)
                                    : QStringList();
    lines.removeIf([](const QString& l) { return l.startsWith(u'#'); });
    Session session(simArgs, name.startsWith(QLatin1String("sim_")));
    ASSERT_TRUE(session.up());
    for (const QString& line : lines)
        session.run(line);
    const QString log = session.masked(session.log.join(u'\n'))
                            .replace(QRegularExpression("process \\d+"), "process PID")
                            .replace(QRegularExpression("http://127.0.0.1:\\d+/"), "URL");
    EXPECT_GOLDEN(QStringLiteral("device/data/%1.expected").arg(name), log + u'\n');
    QLocale::setDefault(QLocale::c());
    language::install({});
}

INSTANTIATE_TEST_SUITE_P(
    Data, Form1Script, ::testing::ValuesIn(goldenCases("device/data", "*.script")), goldenCaseName);

} // namespace
