#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace losfix {

// One HTTP(S) GET as the program asks for it.
struct DownloadRequest {
    std::string url;
    // The transfer fails when no data arrives for this long.
    std::chrono::milliseconds idleTimeout{30000};
    // The transfer fails when the body grows beyond this.
    std::size_t sizeLimit = 64 * 1024;
    // Ask the server (and every cache on the way) for a fresh copy.
    bool noCache = true;
};

struct DownloadResult {
    bool ok = false;     // a 2xx status and a body of the length the server announced
    int httpStatus = 0;  // 0 when no answer came
    std::string bytes;   // the body received (also on failure, for the record)
    std::string errorText;
};

// The network as the core sees it. The program's implementation lives in platform/ and keeps the
// window answering while a transfer runs; tests use a scripted one or a server on 127.0.0.1.
class Network {
public:
    virtual ~Network() = default;

    // True when the system has a connection configured; says nothing about the server.
    virtual bool connected() = 0;
    virtual DownloadResult download(const DownloadRequest& request) = 0;
};

}  // namespace losfix
