#pragma once
// corvane-config while corvane-monitor holds the adapter: the same verbs,
// asked of the service's API (its address file names it), which leaves trace
// mode for them and goes back into it, so nothing is missed and nothing is
// fought over. The output is the same as on the port itself.
#include "device/config_values.h"
#include "device/service_client.h"
#include "tools/config_options.h"

#include <QJsonObject>
#include <QTextStream>

class ConfigThroughService {
public:
    ConfigThroughService(const ConfigOptions& options, serviceaddress::Address service);
    // The exit status, as on the port: 0 done, 1 refused or unanswered.
    int run();

private:
    using Reply = ServiceClient::Reply;
    bool read(QJsonObject& settings);
    int show();
    int set();
    int backup();
    int single();
    int fail(const Reply& reply);
    int fail(const QString& text);

    const ConfigOptions& options_;
    ServiceClient service_;
    QTextStream out_;
    QTextStream err_;
};
