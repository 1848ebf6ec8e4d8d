#include "testservers.h"

#include "core/folder.h"
#include "core/log.h"

#include <QFile>
#include <QStringList>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <chrono>
#include <stdexcept>

namespace {

constexpr int ServeSliceMs = 50;

int ListenOnLoopback(int& Port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 8) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    Port = ntohs(address.sin_port);
    return fd;
}

bool Readable(int Fd)
{
    pollfd entry{Fd, POLLIN, 0};
    return ::poll(&entry, 1, ServeSliceMs) > 0;
}

}  // namespace

TTestHttpsServer::TTestHttpsServer(const TTestPki& Pki)
    : FServer(Pki.CertFile.toLocal8Bit().constData(), Pki.KeyFile.toLocal8Bit().constData())
{
    FPort = FServer.bind_to_any_port("127.0.0.1");
    if (FPort <= 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
}

TTestHttpsServer::~TTestHttpsServer()
{
    FServer.stop();
    if (FThread.joinable())
        FThread.join();
}

void TTestHttpsServer::Start()
{
    FThread = std::thread([this] { FServer.listen_after_bind(); });
    for (int i = 0; i < 200 && !FServer.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

QString TTestHttpsServer::BaseUrl() const
{
    return QStringLiteral("https://127.0.0.1:%1").arg(FPort);
}

TRawTlsServer::TRawTlsServer(const TTestPki& Pki, TOptions Options)
    : FOptions(Options)
{
    FContext = SSL_CTX_new(TLS_server_method());
    const QString cert = Options.Untrusted ? Pki.UntrustedCertFile : Pki.CertFile;
    const QString key = Options.Untrusted ? Pki.UntrustedKeyFile : Pki.KeyFile;
    if (!FContext || SSL_CTX_use_certificate_file(FContext, cert.toLocal8Bit().constData(), SSL_FILETYPE_PEM) != 1
        || SSL_CTX_use_PrivateKey_file(FContext, key.toLocal8Bit().constData(), SSL_FILETYPE_PEM) != 1)
        throw std::runtime_error("cannot set up the TLS server");
    if (Options.Tls13Only)
        SSL_CTX_set_min_proto_version(FContext, TLS1_3_VERSION);
    FListener = ListenOnLoopback(FPort);
    FThread = std::thread([this] { Serve(); });
}

TRawTlsServer::~TRawTlsServer()
{
    FStop = true;
    FThread.join();
    ::close(FListener);
    SSL_CTX_free(FContext);
}

QString TRawTlsServer::BaseUrl() const
{
    return QStringLiteral("https://127.0.0.1:%1").arg(FPort);
}

QByteArray TRawTlsServer::LastRequest() const
{
    std::lock_guard lock(FLock);
    return FLastRequest;
}

void TRawTlsServer::Serve()
{
    while (!FStop) {
        if (!Readable(FListener))
            continue;
        const int socket = ::accept4(FListener, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0)
            continue;
        const timeval slice{0, ServeSliceMs * 1000};
        ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &slice, sizeof slice);
        ServeOne(socket);
    }
}

QByteArray TRawTlsServer::ReadHead(SSL* Ssl)
{
    QByteArray head;
    char buffer[4096];
    while (!FStop && !head.contains("\r\n\r\n") && head.size() < 65536) {
        const int n = SSL_read(Ssl, buffer, sizeof buffer);
        if (n > 0)
            head.append(buffer, n);
        else if (SSL_get_error(Ssl, n) != SSL_ERROR_WANT_READ && errno != EAGAIN)
            break;
    }
    return head;
}

void TRawTlsServer::ServeOne(int Socket)
{
    SSL* ssl = SSL_new(FContext);
    SSL_set_fd(ssl, Socket);
    int accepted = 0;
    for (int i = 0; i < 100 && !FStop && accepted != 1; ++i) {
        accepted = SSL_accept(ssl);
        if (accepted != 1 && SSL_get_error(ssl, accepted) != SSL_ERROR_WANT_READ && errno != EAGAIN)
            break;
    }
    if (accepted == 1) {
        const QByteArray head = ReadHead(ssl);
        {
            std::lock_guard lock(FLock);
            FLastRequest = head;
        }
        ++FRequests;
        if (FOptions.Mode == TMode::Answer) {
            static const char answer[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\n[]";
            SSL_write(ssl, answer, sizeof answer - 1);
            SSL_shutdown(ssl);
        } else if (FOptions.Mode == TMode::Reset) {
            const linger abortive{1, 0};
            ::setsockopt(Socket, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
        } else {
            while (!FStop)
                std::this_thread::sleep_for(std::chrono::milliseconds(ServeSliceMs));
        }
    }
    SSL_free(ssl);
    ::close(Socket);
}

QStringList LogEntries()
{
    QFile file(LogFilePath());
    QStringList entries;
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        entries << line.mid(20);
    return entries;
}

void StartFreshLog(const QString& Folder)
{
    SetAppFolder(Folder);
    QFile::remove(LogFilePath());
}
