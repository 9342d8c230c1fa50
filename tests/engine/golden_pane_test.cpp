// One incoming call, answered, charged and cleared, through the engine at
// trace levels 1, 4 and 5: the three panes compared whole with reviewed files.
#include "common/golden.h"
#include "engine_fixture.h"

using namespace frames;

namespace {

class GoldenPanes : public EngineFixture, public ::testing::WithParamInterface<int> {};

TEST_P(GoldenPanes, IncomingCallTraceMatches)
{
    setLevel(GetParam());
    frame({0x00, 0x81, 0x7F});
    frame(offer(cat({channel(0x89), callingNumber("0301234567"), calledNumber("4711")})), true);
    frame(iframe(0x81, 0x01, channel(0x89)));
    clock.advance(5000);
    frame(iframe(0x81, 0x07, cat({channel(0x89), connectedNumber("4711")})));
    frame(iframe(0x81, 0x7B, {0x28, 0x05, '1', '2', ' ', 'E', 'i'}), true);
    clock.advance(161000);
    frame(iframe(0x81, 0x45, clearing()));
    frame({0x00, 0x81, 0x53});
    clock.advance(800);

    const TracePane* panes[] = {&engine->Text1(), &engine->Text2(), &engine->Text3()};
    for (int i = 0; i < 3; ++i)
        EXPECT_GOLDEN(
            QStringLiteral("engine/data/incoming_level%1_text%2.txt").arg(GetParam()).arg(i + 1), panes[i]->text());
}

INSTANTIATE_TEST_SUITE_P(Levels, GoldenPanes, ::testing::Values(1, 4, 5));

} // namespace
