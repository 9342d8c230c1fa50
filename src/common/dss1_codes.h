#pragma once
// The D-channel values the monitor decodes and the simulator sends: LAPD
// control octets and addresses, DSS1 message types, information element
// identifiers and the element octets whose values decide a call event.
#include <cstdint>

namespace dss1 {

// ---- LAPD (layer 2) -----------------------------------------------------------

inline constexpr std::uint8_t kGroupTei = 0xFF; // the address octet of a broadcast
inline constexpr std::uint8_t kControlUi = 0x03;
inline constexpr std::uint8_t kControlSabme = 0x7F; // a terminal sets its link up
inline constexpr std::uint8_t kControlDisc = 0x53;  // the link goes down
inline constexpr std::uint8_t kControlUa = 0x73;

// ---- DSS1 (layer 3) -----------------------------------------------------------

inline constexpr std::uint8_t kProtocolDiscriminator = 0x08;

enum class MessageType : std::uint8_t {
    Alerting = 0x01,
    CallProceeding = 0x02,
    Setup = 0x05,
    Connect = 0x07,
    ConnectAcknowledge = 0x0F,
    Disconnect = 0x45,
    Release = 0x4D,
    ReleaseComplete = 0x5A,
    Facility = 0x62,
    Information = 0x7B,
};

// Information element identifiers.
namespace ie {
inline constexpr std::uint8_t kBearerCapability = 0x04;
inline constexpr std::uint8_t kCause = 0x08;
inline constexpr std::uint8_t kChannelIdentification = 0x18;
inline constexpr std::uint8_t kFacility = 0x1C;
inline constexpr std::uint8_t kDisplay = 0x28;
inline constexpr std::uint8_t kConnectedNumber = 0x4C;
inline constexpr std::uint8_t kCallingPartyNumber = 0x6C;
inline constexpr std::uint8_t kCalledPartyNumber = 0x70;
} // namespace ie

// Channel identification: B1, B2, or no channel (both busy: a waiting call).
inline constexpr std::uint8_t kChannelA = 0x89;
inline constexpr std::uint8_t kChannelB = 0x8A;
inline constexpr std::uint8_t kChannelNone = 0x80;
// The same as the monitor keeps them, in hex text.
inline constexpr char kChannelAText[] = "89";
inline constexpr char kChannelBText[] = "8A";
inline constexpr char kChannelNoneText[] = "80";

// The last octet of a calling or connected number: presentation restricted,
// number not available (a service).
inline constexpr std::uint8_t kPresentationRestricted = 0xA3;
inline constexpr std::uint8_t kNumberNotAvailable = 0xC3;

// Cause: location and value. Normal clearing by the user ends a call.
inline constexpr std::uint8_t kLocationUser = 0x80;
inline constexpr std::uint8_t kLocationNetwork = 0x82;
inline constexpr std::uint8_t kCauseNormal = 0x90;
inline constexpr std::uint8_t kCauseUserBusy = 0x91;
inline constexpr std::uint8_t kCauseNoChannel = 0xA2;

// A facility of this length carries advice-of-charge units in its 19th
// content octet, three before its last.
inline constexpr int kChargeFacilityLength = 22;
inline constexpr int kChargeUnitsFromEnd = 3;

} // namespace dss1
