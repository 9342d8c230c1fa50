#pragma once
// Which of the monitor's outputs run and how, as one value: the window reads
// it from the settings store (readOutputPlan), corvane-monitor from its
// command line and the store (tools/monitor_outputs.cpp); CallOutputs puts it
// into effect.
#include <QString>

class SettingsStore;
struct MqttConfig;

struct ServerPlan {
    bool on = false;
    QString endpoint; // "[ADDR:]PORT" (tcp_listening::parseEndpoint)
    bool operator==(const ServerPlan&) const = default;
};

struct MqttPlan {
    bool on = false;
    QString url;          // "mqtt[s]://[user@]host[:port][/prefix]"
    QString password;     // as stored; "" for none
    QString passwordFile; // read for the password when given (corvane-monitor's --mqtt-password-file)
    QString caFile;       // TLS: the CAs to trust; "" for the system's
    QString deviceId;     // as the user gave it; "" for the default (output_plan::mqttDeviceId)
    QString discovery;    // Home Assistant's prefix; "" for "homeassistant"
    bool operator==(const MqttPlan&) const = default;
};

// The web page and its API (docs/web.md).
struct WebPlan {
    bool on = false;
    QString endpoint;          // "[ADDR:]PORT"; none for the front ends alone (a free loopback port)
    QString passwordFile;      // its first line is the password; "" for none (loopback only)
    QString certFile, keyFile; // HTTPS when both are given
    // The service's front ends: the address file written while serving and
    // the token it holds ("" for neither); `frontEndsOnly` when nobody asked
    // for the page, so the server is there for the front ends alone.
    QString addressFile;
    QByteArray token;
    QString heldPort; // the adapter's port, named in the address file
    bool groupReadable = false;
    bool frontEndsOnly = false;
    bool operator==(const WebPlan&) const = default;
};

struct OutputPlan {
    ServerPlan ncid, callMonitor; // the NCID server, the port-1012 call-monitor server
    WebPlan web;
    MqttPlan mqtt;
    QString program;      // the event program's command line; "" for none
    bool json = false;    // JSON events on standard output
    bool desktop = false; // a desktop notification of each announced caller
    QString adapterPort;  // the adapter's port, which names the default MQTT device
    bool operator==(const OutputPlan&) const = default;
};

// The window's outputs as the store holds them (a switch is on when it reads
// as the number 1).
OutputPlan readOutputPlan(const SettingsStore& store, const QString& adapterPort);

namespace output_plan {

// The MQTT device id, one rule for every program: the id given, as a topic
// level takes it, else this host's name and the adapter's port.
QString mqttDeviceId(const QString& given, const QString& adapterPort);
// The plan's MQTT settings as the client takes them; "" or why they cannot be
// (the address, the password file, a topic name).
QString mqttConfig(const OutputPlan& plan, MqttConfig& config);

} // namespace output_plan
