// The monitor window as a user sees it: in the normal, folded and debug
// layouts no element covers another, every element lies inside the window
// (the folded-away grid excepted) and every caption shows whole.
#include "window_fixture.h"

#include "monitor/window/call_grid.h"
#include "monitor/window/elided_label.h"
#include "monitor/window/formmonitor_settings.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

namespace {

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty()
               ? QString::fromLatin1(w->metaObject()->className()) + u':'
                     + (qobject_cast<const QLabel*>(w) ? qobject_cast<const QLabel*>(w)->text() : QString())
               : w->objectName();
}

// Visible child widgets of `parent` (not their children).
QList<QWidget*> visibleChildren(QWidget* parent)
{
    QList<QWidget*> out;
    for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(parent) && !w->isWindow())
            out << w;
    return out;
}

// No two siblings overlap, recursively through the frames.
void expectNoOverlap(QWidget* parent)
{
    const QList<QWidget*> children = visibleChildren(parent);
    for (qsizetype i = 0; i < children.size(); ++i) {
        for (qsizetype j = i + 1; j < children.size(); ++j) {
            EXPECT_FALSE(children[i]->geometry().intersects(children[j]->geometry()))
                << nameOf(children[i]).toStdString() << " covers " << nameOf(children[j]).toStdString();
        }
        if (qobject_cast<QGroupBox*>(children[i]))
            expectNoOverlap(children[i]);
    }
}

// Captions of labels, buttons and frames need no more room than they have.
void expectCaptionsFit(QWidget* window)
{
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (!l->isVisibleTo(window) || l->text().isEmpty())
            continue;
        const int need = l->fontMetrics().horizontalAdvance(l->text()) + 2 * l->frameWidth();
        EXPECT_LE(need, l->width()) << nameOf(l).toStdString();
        EXPECT_LE(l->fontMetrics().height(), l->height()) << nameOf(l).toStdString();
    }
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(window) || b->text().isEmpty())
            continue;
        EXPECT_LE(b->sizeHint().width(), b->width()) << nameOf(b).toStdString();
    }
    for (QGroupBox* g : window->findChildren<QGroupBox*>()) {
        if (!g->isVisibleTo(window) || g->title().isEmpty())
            continue;
        EXPECT_LE(g->fontMetrics().horizontalAdvance(g->title()), g->width()) << nameOf(g).toStdString();
    }
}

} // namespace

TEST_F(WindowTest, NothingOverlapsOrIsCutOffInAnyLayout)
{
    struct Case {
        const char* what;
        int debugLevel;
        bool folded;
    };
    for (const Case c : {Case{"normal", 0, false}, Case{"folded", 0, true}, Case{"debug", 5, false}}) {
        SCOPED_TRACE(c.what);
        settings().write("ScanHide", c.folded ? "1" : "0");
        FormMonitor& m = makeMonitor(c.debugLevel);
        m.open();
        // The widest texts the live display shows.
        auto set = [&m](const char* name, const QString& text) { m.findChild<QLabel*>(name)->setText(text); };
        set("LabelCID", "030123456789012");
        set("LabelNOW", "23:59:59");
        for (const char* name : {"Label1", "Label2"})
            set(name, "03012345678901");
        for (const char* name : {"LabelDur1", "LabelDur2"})
            set(name, "10:59:59");
        for (const char* name : {"Label9", "Label10"})
            set(name, "1234.56");

        expectNoOverlap(&m);
        expectCaptionsFit(&m);
        for (QWidget* w : visibleChildren(&m)) {
            if (c.folded && (w == &m.grid() || w->objectName() == "HistoryBar"))
                continue; // folded away under the window's edge
            EXPECT_TRUE(m.rect().contains(w->geometry())) << nameOf(w).toStdString();
        }
        // The picture buttons' art scales with the buttons.
        for (QToolButton* b : m.findChildren<QToolButton*>())
            EXPECT_GE(b->iconSize().width() * 2, b->width()) << nameOf(b).toStdString();
        m.close();
    }
}

TEST_F(WindowTest, TheMonitorSettingsWindowHasRoomForEveryCaption)
{
    FormMonitorSettings dialog(settings(), waveLog, {});
    dialog.Form_Load();
    dialog.show();
    expectNoOverlap(&dialog);
    expectCaptionsFit(&dialog);
    for (QWidget* w : visibleChildren(&dialog))
        EXPECT_TRUE(dialog.rect().contains(w->geometry())) << nameOf(w).toStdString();
    // The check boxes sit in a plain inner widget of their frame.
    for (QGroupBox* frame : dialog.findChildren<QGroupBox*>()) {
        for (QWidget* inner : visibleChildren(frame)) {
            expectNoOverlap(inner);
            for (QWidget* w : visibleChildren(inner))
                EXPECT_TRUE(frame->rect().contains(w->geometry().translated(inner->pos()))) << nameOf(w).toStdString();
        }
    }
}

// A centred label cuts a long name at both edges; the name fields end it in
// "…" instead and keep the whole name as their text.
TEST_F(WindowTest, ALongNameEndsInAnEllipsisAndAShortOneShowsWhole)
{
    FormMonitor& m = makeMonitor();
    m.open();
    for (const char* name : {"Label19", "Label20"}) {
        SCOPED_TRACE(name);
        auto* field = m.findChild<ElidedLabel*>(name);
        ASSERT_NE(field, nullptr);
        const QString longName = "Dr. Friedrich-Wilhelm Schönberger-Maier und Partner";
        field->setText(longName);
        EXPECT_EQ(field->text(), longName);
        EXPECT_TRUE(field->shownText().startsWith("Dr. Fried"));
        EXPECT_TRUE(field->shownText().endsWith(QChar(0x2026)));
        EXPECT_LE(field->fontMetrics().horizontalAdvance(field->shownText()), field->contentsRect().width());
        field->setText("Anna Berger");
        EXPECT_EQ(field->shownText(), "Anna Berger");
    }
}
