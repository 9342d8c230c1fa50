#include "monitor/web/web_auth.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <algorithm>

namespace {

// Compares the hashes, every byte, so the time taken tells nothing of the password.
bool sameSecret(const QByteArray& a, const QByteArray& b)
{
    const QByteArray x = QCryptographicHash::hash(a, QCryptographicHash::Sha256);
    const QByteArray y = QCryptographicHash::hash(b, QCryptographicHash::Sha256);
    unsigned char diff = 0;
    for (qsizetype i = 0; i < x.size(); ++i)
        diff |= static_cast<unsigned char>(x[i] ^ y[i]);
    return diff == 0;
}

} // namespace

WebAuth::WebAuth(QByteArray password) : password_(std::move(password))
{
    clock_.start();
}

QByteArray WebAuth::sessionOf(const HttpRequest& request) const
{
    for (QByteArray part : request.header("cookie").split(';')) {
        part = part.trimmed();
        if (part.startsWith(QByteArray(kCookie) + '='))
            return part.mid(qsizetype(sizeof kCookie));
    }
    return {};
}

bool WebAuth::loggedIn(const HttpRequest& request)
{
    const QByteArray token = sessionOf(request);
    const auto it = sessions_.find(token);
    if (token.isEmpty() || it == sessions_.end())
        return false;
    if (*it < clock_.elapsed()) {
        sessions_.erase(it);
        return false;
    }
    return true;
}

void WebAuth::setFrontEndToken(QByteArray token, bool required)
{
    frontEndToken_ = std::move(token);
    tokenRequired_ = required && !frontEndToken_.isEmpty();
}

bool WebAuth::allows(const HttpRequest& request)
{
    const QByteArray authorization = request.header("authorization");
    const QByteArray bearer = authorization.startsWith("Bearer ") ? authorization.mid(7).trimmed() : QByteArray();
    if (!frontEndToken_.isEmpty() && !bearer.isEmpty() && sameSecret(bearer, frontEndToken_))
        return true;
    if (!passwordRequired() || loggedIn(request))
        return true;
    if (bearer.isEmpty() || password_.isEmpty())
        return false;
    return waitSeconds(request.peer) == 0 && tryPassword(request.peer, bearer);
}

int WebAuth::waitSeconds(const QHostAddress& peer) const
{
    const qint64 left = failures_.value(peer.toString()).until - clock_.elapsed();
    return left > 0 ? int((left + 999) / 1000) : 0;
}

bool WebAuth::tryPassword(const QHostAddress& peer, const QByteArray& password)
{
    const QString who = peer.toString();
    if (!password_.isEmpty() && sameSecret(password, password_)) {
        failures_.remove(who);
        return true;
    }
    if (failures_.size() >= kMaxAddresses && !failures_.contains(who))
        failures_.clear(); // a flood of addresses: start counting again rather than grow
    Failures& f = failures_[who];
    ++f.count;
    if (f.count >= kFreeAttempts)
        f.until = clock_.elapsed() + 1000LL * std::min(f.count - kFreeAttempts + 1, kMaxWaitSeconds);
    return false;
}

QByteArray WebAuth::newSession(bool secure)
{
    if (sessions_.size() >= kMaxSessions) {
        const auto oldest = std::min_element(sessions_.begin(), sessions_.end());
        sessions_.erase(oldest);
    }
    QByteArray raw(32, Qt::Uninitialized);
    QRandomGenerator::system()->generate(
        reinterpret_cast<quint32*>(raw.data()), reinterpret_cast<quint32*>(raw.data() + raw.size()));
    const QByteArray token = raw.toHex();
    sessions_.insert(token, clock_.elapsed() + kSessionMs);
    return QByteArray(kCookie) + '=' + token + "; HttpOnly; SameSite=Strict; Path=/" + (secure ? "; Secure" : "");
}

void WebAuth::endSession(const HttpRequest& request)
{
    sessions_.remove(sessionOf(request));
}

QByteArray WebAuth::clearedCookie()
{
    return QByteArray(kCookie) + "=; HttpOnly; SameSite=Strict; Path=/; Max-Age=0";
}

bool WebAuth::sameOrigin(const HttpRequest& request, bool tls)
{
    const QByteArray origin = request.header("origin");
    if (origin.isEmpty())
        return true;
    return origin == (tls ? "https://" : "http://") + request.header("host");
}
