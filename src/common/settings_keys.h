#pragma once
// The keys of the settings store (section "Startup"), one name each, so a
// typo is a compile error and every reader and writer of a key is found.
#include <QLatin1String>
#include <QString>

namespace key {
// Command channel
inline constexpr QLatin1String CommPort("CommPort"), Speed("Speed"), CommDelay("CommDelay");
// The language of the windows: "" follows the locale, "en" or a translation's code
inline constexpr QLatin1String Language("Language");
// Settings window
inline constexpr QLatin1String UnitCost("UnitCost"), LastReset("LastReset");
// Monitor: sounds and notices
inline constexpr QLatin1String Ring("Ring"), Popup("Popup"), IDSound("IDSound"), WavFile("WavFile"), Notify("Notify");
// Monitor: which calls enter the call list, and the prefix of dialled numbers
inline constexpr QLatin1String LogCID("LogCID"), LogAns("LogAns"), LogDial("LogDial"), LogRing("LogRing"),
    LogTry("LogTry"), DialPrefixNumber("DialPrefixNumber");
// Monitor window place and size
inline constexpr QLatin1String ScanLeft("ScanLeft"), ScanTop("ScanTop"), ScanHeight("ScanHeight"), ScanHide("ScanHide");
// Phone book window place and height
inline constexpr QLatin1String ScanLeftBook("ScanLeftBook"), ScanTopBook("ScanTopBook"), BookHeight("BookHeight");
// Number forms of the phone book lookup
inline constexpr QLatin1String CountryCode("CountryCode"), AreaCode("AreaCode");
// The address-book folder followed (a vdir of .vcf files); "" for none
inline constexpr QLatin1String ContactsFolder("ContactsFolder");
// Network outputs of the window
inline constexpr QLatin1String NcidServer("NcidServer"), NcidAddress("NcidAddress"), NcidPort("NcidPort"),
    EventProgram("EventProgram");
// Names for the own numbers: MsnNumber1..9 and MsnName1..9, three slots each
// for Phone 1, Phone 2 and the DTE port.
inline constexpr int kMsnSlots = 9;
inline QString msnNumber(int slot)
{
    return QStringLiteral("MsnNumber%1").arg(slot);
}
inline QString msnName(int slot)
{
    return QStringLiteral("MsnName%1").arg(slot);
}
// The port-1012 call-monitor server and MQTT (the password as the store keeps it).
inline constexpr QLatin1String CallMonitorServer("CallMonitorServer"), CallMonitorAddress("CallMonitorAddress"),
    CallMonitorPort("CallMonitorPort"), Mqtt("Mqtt"), MqttUrl("MqttUrl"), MqttPassword("MqttPassword"),
    MqttCaFile("MqttCaFile"), MqttDeviceId("MqttDeviceId"), MqttDiscovery("MqttDiscovery");
// corvane-monitor's web page when its command line has no --web (docs/web.md).
inline constexpr QLatin1String WebServer("WebServer"), WebAddress("WebAddress"), WebPort("WebPort"),
    WebPasswordFile("WebPasswordFile"), WebCertFile("WebCertFile"), WebKeyFile("WebKeyFile");
} // namespace key
