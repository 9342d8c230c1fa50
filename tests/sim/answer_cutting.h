#pragma once
// The program's rules for cutting device answers, written out plainly (with
// the 1-based positions they are stated in) so the simulator's answers can
// be checked against them. The device-configuration parsers can reuse the
// answers and expectations of these tests.
#include <array>
#include <string>

namespace answer_cutting {

// 1-based position of needle at or after 1-based position from; 0 if none
// (a search that "cannot start" from position 0 also yields 0).
inline std::size_t find1(const std::string& s, const std::string& needle, std::size_t from = 1)
{
    if (from == 0)
        return 0;
    const auto p = s.find(needle, from - 1);
    return p == std::string::npos ? 0 : p + 1;
}

// Text of length len from 1-based position start; empty for len <= 0.
inline std::string mid1(const std::string& s, long start, long len)
{
    if (len <= 0 || start < 1 || static_cast<std::size_t>(start) > s.size())
        return {};
    return s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(len));
}

// The command channel's body: from 3 characters after the first CR up to
// the first "OK" CR.
inline std::string cutBody(const std::string& reply)
{
    const long p1 = static_cast<long>(find1(reply, "\r"));
    const long p2 = static_cast<long>(find1(reply, "OK\r"));
    return mid1(reply, p1 + 3, p2 - p1 - 3);
}

// The nine MSNs of an "AT&ZI?" body, cut at the fixed offsets.
inline std::array<std::string, 9> cutMsns(const std::string& body)
{
    const char* labels[3] = {"MSN1", "MSN2", "MSN3"};
    std::array<long, 10> p{};
    std::size_t from = 1;
    for (int k = 0; k < 9; ++k) {
        p[static_cast<std::size_t>(k)] = static_cast<long>(find1(body, labels[k % 3], from));
        from = static_cast<std::size_t>(p[static_cast<std::size_t>(k)]);
    }
    p[9] = static_cast<long>(body.size());
    constexpr std::array<long, 9> d{9, 9, 20, 9, 9, 21, 9, 9, 13};
    std::array<std::string, 9> values;
    for (std::size_t k = 0; k < 9; ++k)
        values[k] = mid1(body, p[k] + 7, p[k + 1] - p[k] - d[k]);
    return values;
}

// n values of "label: value" lines (own numbers: 3, charge counters: 6).
template <std::size_t N>
std::array<std::string, N> cutColonLines(const std::string& body)
{
    std::array<std::string, N> values;
    std::size_t from = 1;
    for (std::size_t j = 0; j < N; ++j) {
        const long colon = static_cast<long>(find1(body, ":", from));
        const long end = static_cast<long>(find1(body, "\r\n", static_cast<std::size_t>(colon)));
        values[j] = mid1(body, colon + 2, end - colon - 2);
        from = static_cast<std::size_t>(end);
    }
    return values;
}

} // namespace answer_cutting
