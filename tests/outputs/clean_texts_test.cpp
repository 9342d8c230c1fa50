// A contact's 200 kB name and names with each kind of control character, as
// the book gives them, reach every output bounded and without a control.
#include "call_scenario.h"
#include "common/golden.h"
#include "monitor/engine/call_list.h"
#include "monitor/engine/call_list_csv.h"
#include "monitor/outputs/callmonitor_lines.h"
#include "monitor/outputs/event_program_runner.h"
#include "monitor/outputs/json_event_writer.h"
#include "monitor/outputs/mqtt_messages.h"
#include "monitor/outputs/ncid_lines.h"
#include "phonebook/book_lookup.h"

TEST(CleanTexts, LongNamesAndControlCharactersReachNoOutputRaw)
{
    const QString names[] = {QString(200 * 1024, u'x'),
        QStringLiteral("C0 \x01\x1b[31m\x0b\x0c%1|DEL \x7f|C1 \u0085\u009b|bidi \u202e\u2066\u200f|end").arg(QChar(0))};
    const BookLookup book = BookLookup::fromText(
        QStringLiteral("%1\t0301111\t\t\t\t-\r\n%2\t0302222\t\t\t\t-\r\n").arg(names[0], names[1]));
    QString out;
    for (const QString& number : {QStringLiteral("0301111"), QStringLiteral("0302222")}) {
        CallEvent e = scenario::events().constLast(); // a logged call
        QString picture = number;
        e.number = number;
        e.name = book.nameFor(picture);
        const CallRecord r{e.msn, "Answer", "2026-01-05", "10:00:05", e.number, e.name, e.duration, e.cost};
        out += "list.txt " + CallList::toLine(r) + "\ncsv " + calllistcsv::toCsv({r}, {0});
        out += "json " + JsonEventWriter::toJson(e) + "\nncid " + ncid::eventLine(e) + "\nncid log " + ncid::logLine(r);
        for (const MqttClient::Message& m : mqtt_messages::forEvent(MqttConfig{}, e))
            out += "\nmqtt " + m.topic + ' ' + m.payload;
        e.kind = CallEvent::Kind::Incoming;
        out += "\n1012 " + CallMonitorLines().linesFor(e).value(0);
        out += "\nhook " + EventProgramRunner::environmentFor(e).toStringList().filter("CORVANE_NAME").join(u' ')
               + '\n';
    }
    EXPECT_GOLDEN("outputs/data/clean_texts.txt", out);
}
