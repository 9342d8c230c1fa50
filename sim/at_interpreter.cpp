#include "sim/at_interpreter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

namespace sim {
namespace {

std::string upper(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool digitsOnly(const std::string& s)
{
    return !s.empty() && s.size() <= 6
           && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

// "n" or "" (counts as 0) for commands such as ATZ, ATE, ATH.
int smallArgument(const std::string& s)
{
    if (s.empty())
        return 0;
    return digitsOnly(s) ? std::stoi(s) : -1;
}

} // namespace

AtInterpreter::AtInterpreter(DeviceState& device, Identity identity) : device_(device), identity_(std::move(identity))
{
}

std::vector<AtCommand> AtInterpreter::feed(std::string_view bytes)
{
    std::vector<AtCommand> done;
    for (char c : bytes) {
        if (c == '\r') {
            std::string line = std::exchange(pending_, {});
            const bool tooLong = std::exchange(overflow_, false);
            const auto start = line.find_first_not_of(std::string(" \0", 2));
            if (start == std::string::npos)
                continue;
            line.erase(0, start);
            if (line.size() < 2 || upper(line.substr(0, 2)) != "AT")
                continue;
            done.push_back({line, tooLong ? AtReply{error(device_.echo, line)} : execute(line)});
        } else if (c == '\n') {
            continue;
        } else if (c == '\b' || c == 0x7F) {
            if (!pending_.empty())
                pending_.pop_back();
        } else if (pending_.size() < MaxLine) {
            pending_ += c;
        } else {
            overflow_ = true;
        }
    }
    return done;
}

std::string AtInterpreter::frame(bool echo, const std::string& line, const std::vector<std::string>& info)
{
    std::string out = echo ? line + "\r" : std::string();
    for (const auto& text : info)
        out += "\r\n" + text + "\r\n";
    return out + "\r\nOK\r\n";
}

std::string AtInterpreter::error(bool echo, const std::string& line)
{
    return (echo ? line + "\r" : std::string()) + "\r\nERROR\r\n";
}

AtReply AtInterpreter::execute(const std::string& line)
{
    std::vector<std::string> info;
    TraceSwitch trace = TraceSwitch::None;
    // The echo of "ATE0"/"ATE1" itself follows the setting it was typed under.
    const bool echo = device_.echo;
    if (!run(line.substr(2), info, trace))
        return {error(echo, line), TraceSwitch::None};
    return {frame(echo, line, info), trace};
}

bool AtInterpreter::run(const std::string& original, std::vector<std::string>& info, TraceSwitch& trace)
{
    const std::string body = upper(original);
    if (body.empty())
        return true;
    const char c = body[0];
    const std::string arg = body.substr(1);
    if (c == 'E') {
        const int n = smallArgument(arg);
        if (n != 0 && n != 1)
            return false;
        device_.echo = n == 1;
        return true;
    }
    if (c == 'I') {
        switch (smallArgument(arg)) {
        case 0: info.push_back(identity_.ati0); return true;
        case 1: info.push_back(identity_.ati1); return true;
        case 2: info.push_back("1F4A"); return true;
        case 3: info.push_back(identity_.ati3); return true;
        case 4: info.push_back(identity_.ati4); return true;
        default: return false;
        }
    }
    if (c == 'S')
        return registerCommand(arg, info);
    if (c == '&' && body.size() >= 3 && body[1] == 'Z')
        return numberCommand(body.substr(2), original.substr(2), info);
    if (c == '&' && body.size() >= 2 && body[1] == 'W') {
        const int n = smallArgument(body.substr(2));
        if (n < 0 || n > 3)
            return false;
        device_.profiles[static_cast<std::size_t>(n)] = device_.current;
        return true;
    }
    if (c == 'Z') {
        const int n = smallArgument(arg);
        if (n < 0 || n > 4)
            return false;
        device_.current = n == 4 ? DeviceSettings::factory() : device_.profiles[static_cast<std::size_t>(n)];
        return true;
    }
    if (c == 'H') {
        const int n = smallArgument(arg);
        return n == 0 || n == 3 || n == 4;
    }
    if (body == "B40" || body == "B0") {
        auto& s87 = device_.current.registers[87];
        s87 = static_cast<std::uint8_t>(body == "B0" ? (s87 | 96) : (s87 & ~96));
        return true;
    }
    if (body == "CH?") {
        info = chargeLines();
        return true;
    }
    if (body == "CH0") {
        device_.charges.fill(0);
        return true;
    }
    if (body.starts_with("CD")) {
        const int n = smallArgument(body.substr(2));
        if (n < 0 || n > 99)
            return false;
        trace = n == 9 ? TraceSwitch::On : n == 8 ? TraceSwitch::Off : TraceSwitch::None;
        return true;
    }
    return false;
}

bool AtInterpreter::registerCommand(const std::string& arg, std::vector<std::string>& info)
{
    const auto op = arg.find_first_of("?=");
    if (op == std::string::npos || !digitsOnly(arg.substr(0, op)))
        return false;
    const int reg = std::stoi(arg.substr(0, op));
    if (reg > 127)
        return false;
    auto& value = device_.current.registers[static_cast<std::size_t>(reg)];
    if (arg[op] == '?') {
        if (op + 1 != arg.size())
            return false;
        char buf[4];
        std::snprintf(buf, sizeof buf, "%03d", value);
        info.push_back(buf);
        return true;
    }
    const std::string v = arg.substr(op + 1);
    if (!digitsOnly(v) || std::stoi(v) > 255)
        return false;
    value = static_cast<std::uint8_t>(std::stoi(v));
    return true;
}

// "&ZI?", "&ZIn=number", "&ZO?", "&ZOa=", "&ZOb=", "&ZOI=" (after "AT&Z").
bool AtInterpreter::numberCommand(const std::string& body, const std::string& original, std::vector<std::string>& info)
{
    if (body == "I?") {
        info = msnLines();
        return true;
    }
    if (body == "O?") {
        info = ownLines();
        return true;
    }
    if (body.size() < 3 || body[2] != '=')
        return false;
    const std::string number = original.substr(3);
    if (!validNumber(number))
        return false;
    if (body[0] == 'I' && body[1] >= '0' && body[1] <= '8') {
        device_.current.msn[static_cast<std::size_t>(body[1] - '0')] = number;
        return true;
    }
    if (body[0] == 'O') {
        const int slot = body[1] == 'A' ? 0 : body[1] == 'B' ? 1 : body[1] == 'I' ? 2 : -1;
        if (slot < 0)
            return false;
        device_.current.own[static_cast<std::size_t>(slot)] = number;
        return true;
    }
    return false;
}

// One information text: each port's heading and its three MSN lines. The
// program cuts it at fixed offsets: the number 7 characters after its
// label, a heading of 11 characters (with its blank line) before Phone 2's
// group, 12 before the DTE port's, 7 characters after the last number.
std::vector<std::string> AtInterpreter::msnLines() const
{
    const auto& m = device_.current.msn;
    const char* headings[3] = {"Phone 1", "\r\nPhone 2", "\r\nDTE port"};
    std::string text;
    for (std::size_t port = 0; port < 3; ++port) {
        text += std::string(headings[port]) + "\r\n";
        for (std::size_t i = 0; i < 3; ++i)
            text += "MSN" + std::to_string(i + 1) + " : " + m[port * 3 + i] + "\r\n";
    }
    return {text + "-"};
}

std::vector<std::string> AtInterpreter::ownLines() const
{
    const auto& o = device_.current.own;
    return {"Phone 1: " + o[0], "Phone 2: " + o[1], "DTE: " + o[2]};
}

std::vector<std::string> AtInterpreter::chargeLines() const
{
    const char* labels[6] = {
        "DTE last call", "Phone 1 last call", "Phone 2 last call", "DTE total", "Phone 1 total", "Phone 2 total"};
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < 6; ++i)
        lines.push_back(std::string(labels[i]) + ": " + std::to_string(device_.charges[i]));
    return lines;
}

} // namespace sim
