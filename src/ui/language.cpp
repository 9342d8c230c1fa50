#include "ui/language.h"

#include "common/settings_keys.h"
#include "common/settings_store.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <optional>

namespace language {

namespace {

// Ours are built into the program as resources (src/ui/CMakeLists.txt).
const QString kOurFolder = QStringLiteral(":/i18n");

struct Installed {
    QString code;
    QTranslator ours;
    QTranslator qt; // the standard dialogs' buttons and captions
};

Installed& installed()
{
    static Installed state;
    return state;
}

// "" for English, the code itself for a translation we have, else nothing.
std::optional<QString> known(const QString& code)
{
    if (code == QLatin1String(kEnglish))
        return QString();
    for (const Translation& t : kTranslations)
        if (code == QLatin1String(t.code))
            return code;
    return std::nullopt;
}

} // namespace

QString choose(const QString& setting, const QLocale& locale)
{
    if (const std::optional<QString> code = known(setting))
        return *code;
    if (locale.language() == QLocale::C)
        return {};
    for (const QString& ui : locale.uiLanguages())
        if (const std::optional<QString> code = known(ui.section(u'-', 0, 0).toLower()))
            return *code;
    return {};
}

void install(const QString& code)
{
    Installed& state = installed();
    QCoreApplication::removeTranslator(&state.ours);
    QCoreApplication::removeTranslator(&state.qt);
    state.code.clear();
    if (code.isEmpty())
        return;
    const QLocale locale(code);
    if (!state.ours.load(locale, QStringLiteral("corvane"), QStringLiteral("_"), kOurFolder))
        return; // no such translation: English
    state.code = code;
    QCoreApplication::installTranslator(&state.ours);
    // Qt's own come from the system (qt6-translations-l10n); without them the
    // standard dialogs stay English.
    if (state.qt.load(
            locale, QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&state.qt);
}

void installChosen()
{
    install(choose(SettingsStore::user().read(key::Language)));
}

QString current()
{
    return installed().code;
}

QString helpPageName()
{
    // Relative: the menu opens it from the working directory, the program folder.
    const QString translated = QStringLiteral("help_%1.htm").arg(current());
    if (!current().isEmpty() && QFileInfo::exists(translated))
        return translated;
    return QStringLiteral("help.htm");
}

} // namespace language
