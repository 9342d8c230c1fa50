// Every text a person reads in the windows, dumped by element and compared
// with a golden per language: English must stay exactly what it always was,
// German must be the translation's (an English line there is a text left out).
#include "app/app_options.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "common/golden.h"
#include "common/program_folder.h"
#include "common/settings_store.h"
#include "device/at_channel.h"
#include "device/form1.h"
#include "monitor/engine/call_list.h"
#include "monitor/engine/virtual_clock.h"
#include "monitor/window/formmonitor.h"
#include "monitor/window/formmonitor_settings.h"
#include "monitor/window/missed_calls.h"
#include "monitor/window/statistics_window.h"
#include "monitor/window/wave_device.h"
#include "phonebook/dialogpbook.h"
#include "ui/dialog.h"
#include "ui/formloading.h"
#include "ui/frmabout.h"
#include "ui/help_window.h"
#include "ui/language.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The window's title, then each element's caption, title, tool-tip,
// placeholder and column titles, named by object name (or class).
QString windowTexts(const QWidget& window)
{
    QStringList lines{QStringLiteral("[%1] %2").arg(window.objectName(), window.windowTitle())};
    auto add = [&lines](const QObject* o, const char* what, const QString& text) {
        if (text.isEmpty())
            return;
        const QString name = o->objectName().isEmpty() ? QLatin1String(o->metaObject()->className()) : o->objectName();
        lines << QStringLiteral("%1 %2: %3").arg(name, QLatin1String(what), QString(text).replace(u'\n', "\\n"));
    };
    for (const QObject* o : window.findChildren<QObject*>()) {
        for (const char* property : {"text", "title", "toolTip", "placeholderText"})
            if (const QVariant v = o->property(property); v.typeId() == QMetaType::QString)
                add(o, property, v.toString());
        // The named lists; a header's or a combo box's own view repeats them.
        if (const auto* view = qobject_cast<const QAbstractItemView*>(o);
            view && view->model() && !view->objectName().isEmpty())
            for (int c = 0; c < view->model()->columnCount(); ++c)
                add(o, "column", view->model()->headerData(c, Qt::Horizontal).toString());
    }
    return lines.join(u'\n') + u'\n';
}

// What the guide must name of a window: its title and its buttons' captions,
// one a line, without "&" and a closing "...".
QString guideNames(const QWidget& window)
{
    QStringList names{window.windowTitle()};
    for (const QPushButton* b : window.findChildren<QPushButton*>())
        names << b->text();
    QString all;
    for (QString n : names) {
        n = n.remove(u'&').remove(QRegularExpression(QStringLiteral("\\s*\\.\\.\\.$"))).simplified();
        if (!n.isEmpty())
            all += n + u'\n';
    }
    return all;
}

using Dump = QString (*)(const QWidget&);

// The call monitor's windows (its list empty) and its title with missed calls.
QString monitorTexts(Form1& form, AtChannel& at, Dump dump)
{
    VirtualClock clock;
    CallList list;
    StatisticsWindow statistics(list, clock);
    statistics.refreshNow();
    return dump(FormMonitor(form, at, clock, SettingsStore::user(), 0, false))
           + dump(FormMonitorSettings(SettingsStore::user(), wave::device(), {})) + dump(statistics)
           + (dump == windowTexts ? MissedCalls::titled(QStringLiteral("Monitor"), 2) + u'\n' : QString());
}

// Every window of the program, and the --help text.
QString programTexts(Dump dump = windowTexts)
{
    QTemporaryDir dir;
    ProgramFolder::setPath(dir.path());
    SettingsStore::useFileForUser(dir.filePath(QStringLiteral("settings.ini")));
    AtChannel at;
    Form1 form(at);
    SingleInstance instance(dir.filePath(QStringLiteral("lock")));
    Startup startup(form, instance, {}); // the menu
    const QString windows = dump(form) + dump(Dialog(at)) + dump(frmAbout()) + dump(FormLoading())
                            + dump(HelpWindow(QStringLiteral(CORVANE_SOURCE_DIR "/assets/help.htm")))
                            + dump(DialogpBook(nullptr)) + monitorTexts(form, at, dump);
    return dump == windowTexts ? windows + QStringLiteral("[--help]\n") + appUsage() : windows;
}

} // namespace

TEST(WindowTexts, PerLanguage)
{
    const char* const cases[][2] = {
        // the Language setting, the golden
        {"en", "app/data/window_texts/en.txt"}, // the sources' texts
        {"de", "app/data/window_texts/de.txt"}, // the translation
        {"", "app/data/window_texts/en.txt"},   // the tests' C locale
    };
    for (const auto& [setting, golden] : cases) {
        SCOPED_TRACE(setting);
        language::install(language::choose(QLatin1String(setting), QLocale::c()));
        EXPECT_GOLDEN(golden, programTexts());
    }
    language::install({});
}

// The guide of each language names every window and button of that language.
TEST(WindowTexts, TheGuideNamesEveryWindowAndButton)
{
    for (const auto& [setting, page] : {std::pair{"en", "help.htm"}, {"de", "help_de.htm"}}) {
        SCOPED_TRACE(page);
        language::install(language::choose(QLatin1String(setting), QLocale::c()));
        QFile file(QStringLiteral(CORVANE_SOURCE_DIR "/assets/") + QLatin1String(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString guide =
            QTextDocumentFragment::fromHtml(QString::fromUtf8(file.readAll())).toPlainText().simplified();
        QStringList missing;
        for (const QString& name : programTexts(guideNames).split(u'\n', Qt::SkipEmptyParts))
            if (!guide.contains(name, Qt::CaseInsensitive) && !missing.contains(name))
                missing << name;
        EXPECT_EQ(missing.join(u'\n').toStdString(), "");
    }
    language::install({});
}
