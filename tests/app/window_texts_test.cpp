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

// The call monitor's windows (its list empty) and its title with missed calls.
QString monitorTexts(Form1& form, AtChannel& at)
{
    VirtualClock clock;
    CallList list;
    StatisticsWindow statistics(list, clock);
    statistics.refreshNow();
    return windowTexts(FormMonitor(form, at, clock, SettingsStore::user(), 0, false))
           + windowTexts(FormMonitorSettings(SettingsStore::user(), wave::device(), {})) + windowTexts(statistics)
           + MissedCalls::titled(QStringLiteral("Monitor"), 2) + u'\n';
}

// Every window of the program, and the --help text.
QString programTexts()
{
    QTemporaryDir dir;
    ProgramFolder::setPath(dir.path());
    SettingsStore::useFileForUser(dir.filePath(QStringLiteral("settings.ini")));
    AtChannel at;
    Form1 form(at);
    SingleInstance instance(dir.filePath(QStringLiteral("lock")));
    Startup startup(form, instance, {}); // the menu
    return windowTexts(form) + windowTexts(Dialog(at)) + windowTexts(frmAbout()) + windowTexts(FormLoading())
           + windowTexts(HelpWindow(QStringLiteral(CORVANE_SOURCE_DIR "/assets/help.htm")))
           + windowTexts(DialogpBook(nullptr)) + monitorTexts(form, at) + QStringLiteral("[--help]\n") + appUsage();
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
