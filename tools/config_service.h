#pragma once
// corvane-config while corvane-monitor holds the adapter: the same verbs,
// asked of the service's API (its address file names it), which leaves trace
// mode for them and goes back into it, so nothing is missed and nothing is
// fought over. The output is the same as on the port itself.
#include "common/service_address.h"
#include "tools/config_options.h"
#include "tools/config_values.h"

#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QTextStream>

class ConfigThroughService {
public:
    // A settings read may wait for a call's end (at most ten minutes there).
    static constexpr int kAdapterTimeoutMs = 11 * 60 * 1000;

    ConfigThroughService(const ConfigOptions& options, serviceaddress::Address service);
    // The exit status, as on the port: 0 done, 1 refused or unanswered.
    int run();

private:
    struct Reply {
        int status = 0; // 0: the service did not answer
        QJsonObject body;
    };
    Reply request(const QByteArray& method, const QString& path, const QJsonObject& body = {});
    bool read(QJsonObject& settings);
    int show();
    int set();
    int backup();
    int single();
    int fail(const Reply& reply);
    int fail(const QString& text);

    const ConfigOptions& options_;
    serviceaddress::Address service_;
    QNetworkAccessManager network_;
    QTextStream out_;
    QTextStream err_;
};
