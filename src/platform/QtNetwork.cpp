#include "platform/QtNetwork.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include "core/app/Program.h"

namespace losfix {

namespace {

// Qt has no URL cache shared with other programs, and this manager is given no cache of its
// own; asking every server and proxy on the way for a fresh copy is all there is to clear.
void AskForFreshCopy(QNetworkRequest& request) {
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
}

// A network interface other than loopback that is up and has an address.
bool AnyInterfaceUp() {
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        const auto flags = interface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) &&
            flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack) &&
            !interface.addressEntries().isEmpty()) {
            return true;
        }
    }
    return false;
}

QString GermanReason(QNetworkReply::NetworkError error, const QString& qtText) {
    switch (error) {
        case QNetworkReply::ConnectionRefusedError:
            return QStringLiteral("Die Verbindung wurde abgelehnt");
        case QNetworkReply::HostNotFoundError:
            return QStringLiteral("Der Server wurde nicht gefunden");
        case QNetworkReply::SslHandshakeFailedError:
            return QStringLiteral("Die sichere Verbindung ließ sich nicht prüfen");
        case QNetworkReply::RemoteHostClosedError:
            return QStringLiteral("Die Verbindung wurde unterbrochen");
        default:
            return qtText;
    }
}

// Whether the body is known to be whole: the server announced its length and that many bytes
// came. A body that ends only with the connection cannot be told from one cut off by a lost
// connection or a reset. A body in chunks would end with a chunk of length zero, but Qt does not
// tell whether that chunk came: a chunked body cut off inside a chunk is, depending on timing,
// reported as complete.
bool EndIsProvable(const QNetworkReply& reply, qsizetype received) {
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() && length.toLongLong() == received;
}

}  // namespace

QtNetwork::QtNetwork() : manager_(std::make_unique<QNetworkAccessManager>()) {
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    manager_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

QtNetwork::~QtNetwork() = default;

bool QtNetwork::connected() {
    // The system's own view where Qt has a backend for it (NetworkManager, Windows, macOS).
    static const bool haveBackend =
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    if (haveBackend && QNetworkInformation::instance() != nullptr) {
        switch (QNetworkInformation::instance()->reachability()) {
            case QNetworkInformation::Reachability::Disconnected:
                return false;
            case QNetworkInformation::Reachability::Local:
            case QNetworkInformation::Reachability::Site:
            case QNetworkInformation::Reachability::Online:
                return true;
            case QNetworkInformation::Reachability::Unknown:
                break;
        }
    }
    return AnyInterfaceUp();
}

DownloadResult QtNetwork::download(const DownloadRequest& request) {
    DownloadResult result;
    const QUrl url(QString::fromStdString(request.url), QUrl::StrictMode);
    if (!url.isValid()) {
        result.errorText = "Ungültige Adresse";
        return result;
    }

    QNetworkRequest get(url);
    get.setHeader(QNetworkRequest::UserAgentHeader, QString::fromUtf8(kApplicationTitle));
    if (request.noCache) {
        AskForFreshCopy(get);
    }
    // The body as the server stores it, so that its announced length is the length received, and
    // over HTTP/1.1, where that length is in the header.
    get.setRawHeader("Accept-Encoding", "identity");
    get.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);

    QPointer<QNetworkReply> reply = manager_->get(get);
    QEventLoop loop;
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(static_cast<int>(request.idleTimeout.count()));
    bool timedOut = false;
    bool tooLarge = false;
    QByteArray body;

    QObject::connect(&idle, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        idle.start();
        body += reply->readAll();
        if (static_cast<std::size_t>(body.size()) > request.sizeLimit) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        idle.start();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toULongLong() > request.sizeLimit) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, [&] {
        // The local loop may return much later, when a dialog or a run opened meanwhile ends.
        idle.stop();
        loop.quit();
    });
    idle.start();
    if (!reply->isFinished()) {
        loop.exec();
    }
    idle.stop();

    if (!reply->isFinished()) {
        // The application is quitting and left every event loop.
        reply->abort();
        result.errorText = "Der Download wurde abgebrochen";
    }
    if (!tooLarge && !timedOut) {
        body += reply->readAll();
    }
    result.bytes = body.toStdString();
    result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    if (timedOut) {
        result.errorText = "Zeitüberschreitung";
    } else if (tooLarge) {
        result.errorText = "Die Datei ist größer als erwartet";
    } else if (error != QNetworkReply::NoError && result.errorText.empty()) {
        result.errorText = GermanReason(error, reply->errorString()).toStdString();
    } else if (result.errorText.empty() && !EndIsProvable(*reply, body.size())) {
        result.errorText = "Das Ende der Übertragung ließ sich nicht prüfen";
    }
    result.ok = result.errorText.empty() && error == QNetworkReply::NoError &&
                result.httpStatus >= 200 && result.httpStatus < 300;
    reply->deleteLater();
    return result;
}

}  // namespace losfix
