#include "sim/lapd_frame.h"

namespace sim::lapd {

Octets address(Side from, bool command, std::uint8_t tei, std::uint8_t sapi)
{
    const bool cr = (from == Side::Network) == command;
    return {static_cast<std::uint8_t>((sapi << 2) | (cr ? 0x02 : 0x00)),
        static_cast<std::uint8_t>(((tei & 0x7F) << 1) | 0x01)};
}

Octets iFrame(Side from, std::uint8_t tei, std::uint8_t ns, std::uint8_t nr, const Octets& layer3)
{
    Octets f = address(from, true, tei);
    f.push_back(static_cast<std::uint8_t>((ns & 0x7F) << 1));
    f.push_back(static_cast<std::uint8_t>((nr & 0x7F) << 1));
    append(f, layer3);
    return f;
}

Octets uiFrame(Side from, std::uint8_t tei, const Octets& layer3)
{
    Octets f = address(from, true, tei);
    f.push_back(0x03);
    append(f, layer3);
    return f;
}

Octets sabme(Side from, std::uint8_t tei)
{
    Octets f = address(from, true, tei);
    f.push_back(0x7F);
    return f;
}

Octets ua(Side from, std::uint8_t tei)
{
    Octets f = address(from, false, tei);
    f.push_back(0x73);
    return f;
}

Octets disc(Side from, std::uint8_t tei)
{
    Octets f = address(from, true, tei);
    f.push_back(0x53);
    return f;
}

Octets rr(Side from, std::uint8_t tei, std::uint8_t nr, bool command, bool pollFinal)
{
    Octets f = address(from, command, tei);
    f.push_back(0x01);
    f.push_back(static_cast<std::uint8_t>(((nr & 0x7F) << 1) | (pollFinal ? 1 : 0)));
    return f;
}

} // namespace sim::lapd
