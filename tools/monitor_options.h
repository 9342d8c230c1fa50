#pragma once
// corvane-monitor's command line.
#include "common/option_parser.h"

struct MonitorOptions : CommandLineStatus {
    QString port;        // device path or tcp://HOST:PORT; empty: the stored port
    QString home;        // program folder
    QString ncid;        // "[ADDR:]PORT"; empty: no NCID server
    QString hook;        // event program; empty: none
    QString callMonitor; // "[ADDR:]PORT"; empty: no port-1012 call-monitor server
    QString mqtt;        // "mqtt[s]://[user@]host[:port][/prefix]"; empty: no MQTT
    QString mqttCa, mqttPasswordFile, mqttId, mqttDiscovery;
    QString web; // "[ADDR:]PORT"; empty: the stored WebServer settings
    QString webPasswordFile, webCert, webKey;
    QString contacts; // address-book folder for this run; empty: the stored one
    bool json = false;
    int debug = 0; // trace output on stderr, 0 (none) ... 5
};

// Arguments without the program name. --help and --version win over errors.
MonitorOptions parseMonitorOptions(const QStringList& arguments);
QString monitorUsage();
