// JSON events: one object per line, keys in a fixed order.
#include "common/golden.h"
#include "call_scenario.h"

#include "monitor/outputs/json_event_writer.h"

#include <QBuffer>

TEST(JsonEventWriter, WritesOneObjectPerEvent)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    JsonEventWriter writer(&out);
    for (const CallEvent& e : scenario::events())
        writer.callEvent(e);
    EXPECT_GOLDEN("outputs/data/json_events.txt", out.data());
}
