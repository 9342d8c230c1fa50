// Which translation a "Language" setting and a locale choose.
#include "ui/language.h"

#include <gtest/gtest.h>

TEST(Language, SettingThenLocale)
{
    struct Case {
        const char* setting;
        const char* locale;
        const char* chosen;
    };
    const Case cases[] = {
        {"", "de_DE", "de"},   // System: the locale's
        {"", "de_AT", "de"},   // any German-speaking country
        {"", "en_US", ""},     // English: the sources' texts
        {"", "C", ""},         // no language at all
        {"", "fr_FR", ""},     // none of ours: English
        {"en", "de_DE", ""},   // the setting wins over the locale
        {"de", "C", "de"},     // also over a C locale
        {"xx", "de_DE", "de"}, // a setting naming no translation: the locale's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setting) + " / " + c.locale);
        EXPECT_EQ(language::choose(QLatin1String(c.setting), QLocale(QLatin1String(c.locale))).toStdString(), c.chosen);
    }
}
