#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstddef>
#include <memory>
#include <stop_token>

// How the feed's HTTPS client behaves. The program keeps the defaults but for the CA file.
struct THttpSettings {
    std::chrono::milliseconds ConnectTimeout{16000};
    // A transfer that receives nothing for this long fails (whole seconds, at least one).
    std::chrono::milliseconds ReadTimeout{16000};
    QString CaFile;  // PEM bundle of trusted authorities; empty: the system's trusted store
    std::size_t MaxBodySize = std::size_t{32} << 20;  // after inflation
};

// One libcurl easy handle with the feed's request settings: the agency's request headers,
// gzip and deflate bodies inflated, redirects followed, cookies kept in memory and sent
// back, HTTPS over TLS 1.2 only with the certificate verified. Used by one thread at a time.
class THttpClient {
public:
    // A transfer stops within about 100 ms once Stop is requested.
    THttpClient(const THttpSettings& Settings, std::stop_token Stop);
    ~THttpClient();
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    enum class TResult {
        Done,      // the request completed; an HTTP error status leaves the body empty
        Reset,     // the peer reset or aborted the connection
        Socket,    // refused, unreachable, unknown host or timed out
        Stopped,   // stopped on request
        Failed,    // anything else: TLS, certificate, protocol, body too large
    };
    // One GET into Body (replaced); Message says why when the result is not Done.
    TResult Get(const QString& URL, QByteArray& Body, QString& Message);

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

// Replaces Client with a new client made with Settings.
void CreateHTTP(std::unique_ptr<THttpClient>& Client, const THttpSettings& Settings, std::stop_token Stop);

// One GET of URL into Stream; true when the request completed (an HTTP error status then
// gives an empty body). A reset or aborted connection logs
// "(EqHistClass.)GetDataFromSite(10054/10053)"; refused connections, unknown hosts,
// time-outs and a stop on request log nothing; any other failure logs
// "(EqHistClass.)GetDataFromSite".
bool GetDataFromSite(THttpClient* Client, const QString& URL, QByteArray* Stream);
