#include "monitor/web/web_files.h"

#include <QFile>
#include <QFileInfo>

// The page lives in a static library's resources, which the linker keeps only when asked for.
static bool loadPage()
{
    Q_INIT_RESOURCE(web);
    return true;
}

namespace webfiles {

namespace {

constexpr qint64 kMaxFile = 8 * 1024 * 1024; // a picture or script larger than this is not served

struct Type {
    const char* suffix;
    const char* mime;
};
constexpr Type kTypes[] = {
    {"html", "text/html; charset=utf-8"},
    {"js", "text/javascript; charset=utf-8"},
    {"mjs", "text/javascript; charset=utf-8"},
    {"css", "text/css; charset=utf-8"},
    {"svg", "image/svg+xml"},
    {"png", "image/png"},
    {"jpg", "image/jpeg"},
    {"jpeg", "image/jpeg"},
    {"ico", "image/x-icon"},
    {"json", "application/json; charset=utf-8"},
    {"webmanifest", "application/manifest+json"},
    {"woff2", "font/woff2"},
};

std::optional<QByteArray> contents(const QString& path)
{
    QFile f(path);
    if (!QFileInfo(path).isFile() || f.size() > kMaxFile || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

} // namespace

void addPageHeaders(HttpResponse& r)
{
    r.addHeader("Cache-Control", "no-cache");
    r.addHeader("Content-Security-Policy",
        "default-src 'self'; img-src 'self' data: blob:; style-src 'self' 'unsafe-inline'; frame-ancestors 'none'");
    r.addHeader("X-Content-Type-Options", "nosniff");
    r.addHeader("Referrer-Policy", "no-referrer");
}

std::optional<HttpResponse> file(const QByteArray& path)
{
    static const bool loaded = loadPage();
    Q_UNUSED(loaded)
    QString source;
    if (path == "/vendor/chart.js")
        source = QLatin1String(kChartJs);
    else if (path == "/" || path == "/index.html")
        source = QStringLiteral(":/web/index.html");
    else if (!path.contains("..") && !path.contains("//") && path.startsWith('/'))
        source = QStringLiteral(":/web") + QString::fromUtf8(path);
    else
        return std::nullopt;
    const std::optional<QByteArray> body = contents(source);
    if (!body)
        return std::nullopt;
    const QByteArray suffix = QFileInfo(source).suffix().toLatin1();
    const char* mime = "application/octet-stream";
    for (const Type& t : kTypes)
        if (suffix == t.suffix)
            mime = t.mime;
    HttpResponse r{200, mime, *body, {}};
    addPageHeaders(r);
    return r;
}

std::optional<HttpResponse> picture(const QString& path)
{
    std::optional<QByteArray> body = contents(path);
    if (!body)
        return std::nullopt;
    const char* mime = body->startsWith("\x89PNG")    ? "image/png"
                       : body->startsWith("\xFF\xD8") ? "image/jpeg"
                       : body->startsWith("GIF8")     ? "image/gif"
                       : body->startsWith("BM")       ? "image/bmp"
                                                      : "application/octet-stream";
    HttpResponse r{200, mime, *body, {{"Cache-Control", "private, max-age=3600"}}};
    r.addHeader("X-Content-Type-Options", "nosniff");
    return r;
}

} // namespace webfiles
