#pragma once
// A port of 127.0.0.1 the system just handed out, so free for the server a
// test starts next; 0 when there is none.
#include <QTcpServer>

inline quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}
