#include "sim/trace_line.h"

#include <cstdio>

namespace sim {

std::string traceLine(Side from, const Octets& frame, std::int64_t msSinceTraceOn)
{
    std::string line = "L1   0";
    line += from == Side::Terminal ? " -> " : " <- ";
    line += hexOctets(frame);
    line += " \r\n";
    char trailer[16];
    std::snprintf(trailer, sizeof trailer, " %08lld",
        static_cast<long long>(((msSinceTraceOn % 100000000) + 100000000) % 100000000));
    line += trailer;
    return line;
}

} // namespace sim
