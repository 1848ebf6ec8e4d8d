#pragma once

#include "testpki.h"

#include <httplib.h>

#include <QByteArray>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

// An HTTPS server on 127.0.0.1 (a free port) with the test authority's certificate. Add the
// routes to Http() before Start().
class TTestHttpsServer {
public:
    explicit TTestHttpsServer(const TTestPki& Pki);
    ~TTestHttpsServer();
    httplib::SSLServer& Http() { return FServer; }
    void Start();
    QString BaseUrl() const;

private:
    httplib::SSLServer FServer;
    int FPort = 0;
    std::thread FThread;
};

// A TLS server that takes one connection at a time, reads the request head and then does
// what its mode says. For the cases a well-behaved server cannot show.
class TRawTlsServer {
public:
    enum class TMode {
        Answer,  // answers 200 with the body "[]" and closes
        Reset,   // resets the connection
        Stall,   // sends nothing until the server is destroyed
    };
    struct TOptions {
        TMode Mode = TMode::Answer;
        bool Tls13Only = false;
        bool Untrusted = false;  // presents a certificate that the test authority did not sign
    };
    TRawTlsServer(const TTestPki& Pki, TOptions Options);
    ~TRawTlsServer();
    QString BaseUrl() const;
    // The head of the last request read, as it arrived.
    QByteArray LastRequest() const;
    int Requests() const { return FRequests.load(); }

private:
    void Serve();
    void ServeOne(int Socket);
    QByteArray ReadHead(struct ssl_st* Ssl);

    TOptions FOptions;
    struct ssl_ctx_st* FContext = nullptr;
    int FListener = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::atomic<int> FRequests{0};
    mutable std::mutex FLock;
    QByteArray FLastRequest;
    std::thread FThread;
};

// The log file's lines, for checking which failures were logged ("Name-Msg" without the
// time stamp), and a fresh log file in a scratch folder.
QStringList LogEntries();
void StartFreshLog(const QString& Folder);
