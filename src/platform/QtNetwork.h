#pragma once

#include <memory>

#include "core/common/Network.h"

class QNetworkAccessManager;

namespace losfix {

// The network through Qt: the system's proxy settings, verified TLS, the user agent "Quotrix".
// A download runs a local event loop, so the windows keep repainting and can be moved while it
// waits; it fails on an HTTP error status, a refused or unverifiable connection, a transfer that
// breaks off, stalls longer than the request's idle timeout or grows beyond its size limit, and
// on a body without a length announced and met: one that ends only with the connection, or in
// chunks whose last one Qt does not report, may have been cut off.
// Create it after the application object, on the thread that runs the windows.
class QtNetwork : public Network {
public:
    QtNetwork();
    ~QtNetwork() override;
    QtNetwork(const QtNetwork&) = delete;
    QtNetwork& operator=(const QtNetwork&) = delete;

    bool connected() override;
    DownloadResult download(const DownloadRequest& request) override;

private:
    std::unique_ptr<QNetworkAccessManager> manager_;
};

}  // namespace losfix
