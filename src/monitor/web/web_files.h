#pragma once
// The page's own files: those compiled in from web/ (web/web.qrc), and
// Debian's Chart.js where its package installs it.
#include "monitor/web/http_server.h"

#include <optional>

namespace webfiles {

inline constexpr char kChartJs[] = "/usr/share/javascript/chart.js/chart.min.js";

// The file for a GET of `path` outside /api/, or nothing (404).
std::optional<HttpResponse> file(const QByteArray& path);
// A picture file as it is, its type from its first bytes; nothing when it is none.
std::optional<HttpResponse> picture(const QString& path);
// The headers every answer of the page's files has.
void addPageHeaders(HttpResponse& response);

} // namespace webfiles
