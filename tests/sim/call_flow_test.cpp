// Every built-in scenario's frames obey the rules the monitor relies on. (The
// replay tests take the scenarios through the real monitor engine and compare
// every frame and call list with their goldens, so the details of single
// flows, such as a busy network's cause or a waiting call's channel, are
// pinned there.)
#include "sim/dss1_message.h"
#include "sim/scenario.h"
#include "sim/trace_line.h"
#include "sim/trace_session.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

using namespace sim;

namespace {

struct Element {
    std::uint8_t id;
    Octets content;
};

struct Frame {
    std::int64_t ms;
    Side from;
    Octets octets;
    std::uint8_t tei() const { return static_cast<std::uint8_t>(octets[1] >> 1); }
    bool isI() const { return octets.size() >= 4 && (octets[2] & 1) == 0; }
    bool isUi() const { return octets.size() >= 3 && octets[2] == 0x03; }
    std::size_t l3Start() const { return isI() ? 4 : isUi() ? 3 : octets.size(); }
    bool hasMessage() const { return octets.size() >= l3Start() + 4; }
    std::uint8_t type() const { return octets[l3Start() + 3]; }
    std::uint8_t refValue() const { return octets[l3Start() + 2] & 0x7F; }
    bool refFlag() const { return (octets[l3Start() + 2] & 0x80) != 0; }
    std::vector<Element> elements() const
    {
        std::vector<Element> out;
        for (std::size_t p = l3Start() + 4; p + 1 < octets.size();) {
            const std::size_t len = octets[p + 1];
            EXPECT_LE(p + 2 + len, octets.size()) << "element runs past the frame";
            out.push_back({octets[p], Octets(octets.begin() + static_cast<long>(p + 2),
                                          octets.begin() + static_cast<long>(std::min(p + 2 + len, octets.size())))});
            p += 2 + len;
        }
        return out;
    }
    const Element* find(std::uint8_t id) const
    {
        static thread_local std::vector<Element> cache;
        cache = elements();
        for (const auto& e : cache)
            if (e.id == id)
                return &e;
        return nullptr;
    }
    // The call a message belongs to: its reference value and the side that allocated it.
    std::pair<int, Side> call() const
    {
        const Side allocator = refFlag() ? (from == Side::Network ? Side::Terminal : Side::Network) : from;
        return {refValue(), allocator};
    }
};

std::vector<Frame> framesOf(const std::string& name)
{
    auto parsed = loadScenario(name);
    EXPECT_TRUE(parsed.scenario) << parsed.error;
    parsed.scenario->loop = false;
    TraceSession session(*parsed.scenario, factoryPortNumbers);
    std::vector<Frame> frames;
    for (auto& f : session.framesUntil(INT64_MAX))
        frames.push_back({f.ms, f.from, f.octets});
    return frames;
}

std::vector<std::string> callScenarios()
{
    auto names = builtinScenarioNames();
    names.erase(std::remove(names.begin(), names.end(), "none"), names.end());
    return names;
}

class EveryScenario : public ::testing::TestWithParam<std::string> {};

// A port's own call is one it started or took on a channel; a waiting call it
// only alerted (without a channel) is not, and its clearing has no 80 90.
TEST_P(EveryScenario, OwnCauseExactlyOncePerCallInThePortsClearing)
{
    std::map<std::pair<int, Side>, int> ownCauses;
    std::set<std::pair<int, Side>> portCalls, ownCalls;
    for (const auto& f : framesOf(GetParam())) {
        if (!f.hasMessage())
            continue;
        if (f.from == Side::Terminal) {
            portCalls.insert(f.call());
            if (f.type() == 0x05 || f.find(0x18))
                ownCalls.insert(f.call());
        }
        for (const auto& e : f.elements()) {
            if (e.id != 0x08)
                continue;
            ASSERT_EQ(e.content.size(), 2u);
            if (e.content[0] == 0x80 && e.content[1] == 0x90) {
                ++ownCauses[f.call()];
                EXPECT_EQ(f.from, Side::Terminal);
                EXPECT_TRUE(f.type() == 0x45 || f.type() == 0x4D) << "only in DISCONNECT or RELEASE";
            } else {
                EXPECT_EQ(f.from, Side::Network);
                EXPECT_EQ(e.content[0], 0x82);
            }
        }
        if (f.from == Side::Network && (f.type() == 0x45 || f.type() == 0x4D || f.type() == 0x5A)) {
            EXPECT_NE(f.find(0x08), nullptr) << "network clearing carries its cause";
        }
    }
    EXPECT_FALSE(ownCalls.empty());
    for (const auto& call : portCalls)
        EXPECT_EQ(ownCauses[call], ownCalls.count(call)) << "call reference " << call.first;
}

TEST_P(EveryScenario, ElementsFollowTheRules)
{
    std::set<std::pair<int, Side>> networkGaveChannel;
    for (const auto& f : framesOf(GetParam())) {
        if (!f.hasMessage())
            continue;
        for (const auto& e : f.elements()) {
            if (e.id == 0x6C || e.id == 0x4C) {
                ASSERT_GE(e.content.size(), 2u);
                EXPECT_EQ(e.content[0] & 0x80, 0) << "octet 3 leaves room for 3a";
                EXPECT_NE(e.content[1] & 0x80, 0) << "octet 3a present";
                for (std::size_t i = 2; i < e.content.size(); ++i) {
                    EXPECT_TRUE(e.content[i] >= 0x30 && e.content[i] <= 0x39);
                }
            }
            if (e.id == 0x1C) {
                EXPECT_EQ(e.content.size(), 22u);
            }
        }
        const auto* channel = f.find(0x18);
        if (f.isUi()) {
            EXPECT_EQ(f.from, Side::Network);
            EXPECT_EQ(f.octets[1], 0xFF);
            EXPECT_EQ(f.type(), 0x05);
            const auto* bc = f.find(0x04);
            ASSERT_NE(bc, nullptr);
            EXPECT_EQ(hexOctets(bc->content), "80 90 A3 ");
            ASSERT_NE(channel, nullptr);
            EXPECT_NE(f.find(0x6C), nullptr);
            EXPECT_NE(f.find(0x70), nullptr);
            continue;
        }
        if (f.from == Side::Network && channel) {
            EXPECT_EQ(f.type(), 0x02) << "only CALL PROCEEDING names the channel to a port";
            EXPECT_TRUE(networkGaveChannel.insert(f.call()).second) << "the channel is never repeated";
        }
        if (f.from == Side::Terminal && channel) {
            EXPECT_TRUE(f.type() == 0x01 || f.type() == 0x07) << "a port names the channel in ALERTING or CONNECT";
        }
        if (f.from == Side::Terminal && f.type() == 0x05) {
            EXPECT_EQ(f.find(0x70), nullptr) << "an outgoing SETUP has no called number";
            const auto* calling = f.find(0x6C);
            ASSERT_NE(calling, nullptr);
            const std::string own(calling->content.begin() + 2, calling->content.end());
            EXPECT_EQ(own, f.tei() == 64 ? "4711" : "4712");
        }
        if (f.type() == 0x7B && f.from == Side::Terminal) {
            ASSERT_EQ(f.elements().size(), 1u) << "one dialled digit per INFORMATION";
            EXPECT_EQ(f.elements()[0].content.size(), 2u);
            EXPECT_EQ(f.elements()[0].content[0], 0x81);
        }
        if (f.type() == 0x62) {
            const auto* facility = f.find(0x1C);
            ASSERT_NE(facility, nullptr);
            EXPECT_GT(facility->content[18], 0);
        }
    }
}

// N(S)/N(R) per TEI: every I-frame carries the next send number of its side
// and acknowledges everything the other side sent; links are set up first.
TEST_P(EveryScenario, SequenceNumbersPerTei)
{
    struct Link {
        bool up = false;
        int sent[2] = {0, 0};
    };
    std::map<int, Link> links;
    for (const auto& f : framesOf(GetParam())) {
        if (f.isUi())
            continue;
        auto& l = links[f.tei()];
        const int me = f.from == Side::Terminal ? 0 : 1;
        const auto control = f.octets[2];
        if (control == 0x7F) {
            l = Link{true, {0, 0}};
        } else if (control == 0x53) {
            l.up = false;
        } else if (f.isI()) {
            ASSERT_TRUE(l.up) << "I-frame on a link that is not set up";
            EXPECT_EQ(f.octets[2] >> 1, l.sent[me]);
            EXPECT_EQ(f.octets[3] >> 1, l.sent[1 - me]);
            l.sent[me] = (l.sent[me] + 1) % 128;
        } else if (control == 0x01) {
            EXPECT_EQ(f.octets[3] >> 1, l.sent[1 - me]) << "RR acknowledges all received";
        }
    }
}

TEST_P(EveryScenario, FramesAreInTimeOrderAndLinksEndReleased)
{
    const auto frames = framesOf(GetParam());
    ASSERT_FALSE(frames.empty());
    for (std::size_t i = 1; i < frames.size(); ++i)
        EXPECT_GT(frames[i].ms, frames[i - 1].ms);
    EXPECT_EQ(frames.back().octets[2], 0x73) << "the last frame is the UA of a link release";
}

INSTANTIATE_TEST_SUITE_P(Builtins, EveryScenario, ::testing::ValuesIn(callScenarios()), [](const auto& info) {
    std::string n = info.param;
    std::replace(n.begin(), n.end(), '-', '_');
    return n;
});

} // namespace
