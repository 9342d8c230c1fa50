#pragma once
// The adapter's AT command interpreter. Answers use the usual modem framing
// the program's command channel cuts by: with echo on, the command and its
// CR; each information text as CR LF, text, CR LF; then CR LF "OK" CR LF. A
// failed or unknown command gives CR LF "ERROR" CR LF.
#include "sim/device_state.h"

#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class TraceSwitch { None, On, Off };

struct AtReply {
    std::string bytes;
    TraceSwitch trace = TraceSwitch::None;
};

struct AtCommand {
    std::string text; // the line as received, without its CR
    AtReply reply;
};

// Identification texts; ATI4 is what the program's detection looks for.
struct Identity {
    std::string ati0 = "ISDN TA 2a/b DodOva";
    std::string ati1 = "64813";
    std::string ati3 = "Software 3.81, Hardware 50";
    std::string ati4 = "Zedevuvi DodOva";
};

class AtInterpreter {
public:
    static constexpr std::size_t MaxLine = 200;

    AtInterpreter(DeviceState& device, Identity identity = {});

    // Collects received bytes into lines (CR ends one, LF is ignored,
    // backspace deletes) and answers every complete AT line. Lines that do
    // not start with "AT" are ignored, as a modem does.
    std::vector<AtCommand> feed(std::string_view bytes);
    // One command line without its CR.
    AtReply execute(const std::string& line);

    // The information texts of the three list commands, as framed lines.
    std::vector<std::string> msnLines() const;
    std::vector<std::string> ownLines() const;
    std::vector<std::string> chargeLines() const;

private:
    static std::string frame(bool echo, const std::string& line, const std::vector<std::string>& info);
    static std::string error(bool echo, const std::string& line);
    bool run(const std::string& body, std::vector<std::string>& info, TraceSwitch& trace);
    bool registerCommand(const std::string& body, std::vector<std::string>& info);
    bool numberCommand(const std::string& body, const std::string& original, std::vector<std::string>& info);

    DeviceState& device_;
    Identity identity_;
    std::string pending_;
    bool overflow_ = false;
};

} // namespace sim
