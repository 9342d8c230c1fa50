#include "sim/scenario.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace sim {
namespace {

constexpr std::int64_t MaxDurationMs = 24LL * 3600 * 1000;
constexpr std::size_t MaxCalls = 10000;
constexpr std::size_t MaxNumberDigits = 20;

bool allDigits(const std::string& s, std::size_t maxLen)
{
    return !s.empty() && s.size() <= maxLen
           && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool dialDigits(const std::string& s)
{
    return !s.empty() && s.size() <= MaxNumberDigits
           && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) || c == '*' || c == '#'; });
}

std::string lower(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Applies one key=value of a call; returns an error text or "".
std::string applyKey(ScenarioCall& call, const std::string& key, const std::string& value, bool& haveAt)
{
    const bool in = call.direction == CallDirection::Incoming;
    auto duration = [&](std::int64_t& target) -> std::string {
        auto d = parseDuration(value);
        if (!d)
            return "bad duration '" + value + "' for " + key;
        target = *d;
        return {};
    };
    if (key == "at") {
        haveAt = true;
        return duration(call.atMs);
    }
    if (key == "ring")
        return duration(call.ringMs);
    if (key == "talk")
        return duration(call.talkMs);
    if (key == "port") {
        if (value != "1" && value != "2")
            return "port must be 1 or 2";
        call.port = value[0] - '0';
        return {};
    }
    if (key == "channel") {
        const auto v = lower(value);
        if (v == "auto")
            call.channel = ChannelChoice::Auto;
        else if (v == "a")
            call.channel = ChannelChoice::A;
        else if (v == "b")
            call.channel = ChannelChoice::B;
        else if (v == "none")
            call.channel = ChannelChoice::None;
        else
            return "channel must be A, B, none or auto";
        return {};
    }
    if (key == "answer") {
        const auto v = lower(value);
        if (v == "yes")
            call.answer = AnswerKind::Yes;
        else if (v == "no")
            call.answer = AnswerKind::No;
        else if (v == "busy" && !in)
            call.answer = AnswerKind::Busy;
        else
            return in ? "answer must be yes or no" : "answer must be yes, no or busy";
        return {};
    }
    if (key == "hangup") {
        const auto v = lower(value);
        if (v == "local")
            call.hangup = ClearedBy::Local;
        else if (v == "remote")
            call.hangup = ClearedBy::Remote;
        else
            return "hangup must be local or remote";
        return {};
    }
    if (in && key == "from") {
        if (lower(value) == "restricted") {
            call.restricted = true;
            call.from.clear();
        } else if (allDigits(value, MaxNumberDigits)) {
            call.from = value;
        } else {
            return "from must be digits or 'restricted'";
        }
        return {};
    }
    if (in && key == "to") {
        if (!allDigits(value, MaxNumberDigits))
            return "to must be digits";
        call.to = value;
        return {};
    }
    if (!in && key == "dial") {
        if (!dialDigits(value))
            return "dial must be digits";
        call.dial = value;
        return {};
    }
    if (!in && key == "connected") {
        if (lower(value) == "service")
            call.service = true;
        else if (allDigits(value, MaxNumberDigits))
            call.connected = value;
        else
            return "connected must be digits or 'service'";
        return {};
    }
    if (!in && key == "units") {
        if (!allDigits(value, 3) || std::stoi(value) > 255)
            return "units must be 0..255";
        call.units = std::stoi(value);
        return {};
    }
    return "unknown key '" + key + "' for " + (in ? "an incoming" : "an outgoing") + " call";
}

std::string parseCall(const std::vector<std::string>& words, ScenarioCall& call)
{
    const auto kind = lower(words[0]);
    call.direction = (kind == "in" || kind == "incoming") ? CallDirection::Incoming : CallDirection::Outgoing;
    call.hangup = call.direction == CallDirection::Incoming ? ClearedBy::Remote : ClearedBy::Local;
    call.ringMs = call.direction == CallDirection::Incoming ? 6000 : 5000;
    bool haveAt = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0)
            return "expected key=value, got '" + words[i] + "'";
        auto err = applyKey(call, lower(words[i].substr(0, eq)), words[i].substr(eq + 1), haveAt);
        if (!err.empty())
            return err;
    }
    if (!haveAt)
        return "a call needs at=TIME";
    if (call.direction == CallDirection::Incoming && call.from.empty() && !call.restricted)
        return "an incoming call needs from=NUMBER or from=restricted";
    if (call.direction == CallDirection::Outgoing && call.dial.empty())
        return "an outgoing call needs dial=DIGITS";
    return {};
}

} // namespace

std::optional<std::int64_t> parseDuration(const std::string& textIn)
{
    std::string text = lower(textIn);
    std::int64_t unit = 1000;
    if (text.size() > 2 && text.ends_with("ms")) {
        unit = 1;
        text.resize(text.size() - 2);
    } else if (text.size() > 1 && text.back() == 's') {
        text.pop_back();
    }
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    std::int64_t total = 0;
    int fields = 0;
    std::stringstream parts(text);
    std::string part;
    while (std::getline(parts, part, ':')) {
        if (!allDigits(part, 9) || ++fields > 3 || (fields > 1 && (part.size() != 2 || std::stoi(part) > 59)))
            return std::nullopt;
        total = total * 60 + std::stoll(part);
    }
    if (fields == 0 || (fields > 1 && unit != 1000) || text.back() == ':')
        return std::nullopt;
    total *= unit;
    if (total > MaxDurationMs)
        return std::nullopt;
    return total;
}

ScenarioParse parseScenario(const std::string& text, const std::string& name)
{
    Scenario scenario;
    scenario.name = name;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    auto fail = [&](const std::string& why) {
        return ScenarioParse{std::nullopt, "line " + std::to_string(lineNo) + ": " + why};
    };
    while (std::getline(in, raw)) {
        ++lineNo;
        if (auto hash = raw.find('#'); hash != std::string::npos)
            raw.resize(hash);
        std::istringstream words(raw);
        std::vector<std::string> w;
        for (std::string s; words >> s;)
            w.push_back(s);
        if (w.empty())
            continue;
        const auto kind = lower(w[0]);
        if (kind == "loop") {
            scenario.loop = true;
            for (std::size_t i = 1; i < w.size(); ++i) {
                const auto v = lower(w[i]);
                auto d = v.starts_with("pause=") ? parseDuration(v.substr(6)) : std::nullopt;
                if (!d)
                    return fail("loop takes only pause=DURATION");
                scenario.loopPauseMs = *d;
            }
        } else if (kind == "in" || kind == "incoming" || kind == "out" || kind == "outgoing") {
            if (scenario.calls.size() >= MaxCalls)
                return fail("too many calls");
            ScenarioCall call;
            call.line = lineNo;
            if (auto err = parseCall(w, call); !err.empty())
                return fail(err);
            scenario.calls.push_back(call);
        } else {
            return fail("expected 'in', 'out' or 'loop', got '" + w[0] + "'");
        }
    }
    std::stable_sort(scenario.calls.begin(), scenario.calls.end(),
        [](const ScenarioCall& a, const ScenarioCall& b) { return a.atMs < b.atMs; });
    return {scenario, {}};
}

ScenarioParse loadScenario(const std::string& nameOrFile)
{
    if (auto text = builtinScenarioText(nameOrFile))
        return parseScenario(*text, nameOrFile);
    std::ifstream file(nameOrFile, std::ios::binary);
    if (!file) {
        std::string names;
        for (const auto& n : builtinScenarioNames())
            names += " " + n;
        return {std::nullopt, "no built-in scenario or readable file '" + nameOrFile + "' (built-in:" + names + ")"};
    }
    std::string text;
    char buf[4096];
    while (file.read(buf, sizeof buf) || file.gcount() > 0) {
        text.append(buf, static_cast<std::size_t>(file.gcount()));
        if (text.size() > 4 * 1024 * 1024)
            return {std::nullopt, "scenario file too large"};
    }
    return parseScenario(text, nameOrFile);
}

} // namespace sim
