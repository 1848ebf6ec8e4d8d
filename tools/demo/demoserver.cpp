#include "demoserver.h"

#include <httplib.h>

#include <stdexcept>

namespace {

constexpr char ListPath[] = "/bosai/quake/data/list.json";
constexpr char DetailPattern[] = R"(/bosai/quake/data/([^/]+\.json))";

}  // namespace

TDemoFeedServer::TDemoFeedServer(const TDemoCert& Cert, TListBody ListBody)
    : FListBody(std::move(ListBody))
    , FServer(std::make_unique<httplib::SSLServer>(Cert.CertFile.toLocal8Bit().constData(),
                                                    Cert.KeyFile.toLocal8Bit().constData()))
{
    if (!FServer->is_valid())
        throw std::runtime_error("the demo server cannot use its certificate");
    Route();
    FPort = FServer->bind_to_any_port("127.0.0.1");
    if (FPort <= 0)
        throw std::runtime_error("the demo server cannot listen on 127.0.0.1");
    FThread = std::thread([this] { FServer->listen_after_bind(); });
}

TDemoFeedServer::~TDemoFeedServer()
{
    {
        std::lock_guard lock(FLock);
        FStopping = true;
    }
    FStallEnded.notify_all();
    FServer->stop();
    FThread.join();
}

void TDemoFeedServer::Route()
{
    FServer->Get(ListPath, [this](const httplib::Request&, httplib::Response& Res) {
        WaitWhileStalled();
        int count = 0;
        {
            std::lock_guard lock(FLock);
            count = ++FListRequests;
        }
        const QByteArray body = FListBody(count);
        Res.set_content(body.constData(), body.size(), "application/json");
    });
    FServer->Get(DetailPattern, [this](const httplib::Request& Req, httplib::Response& Res) {
        WaitWhileStalled();
        const QString name = QString::fromStdString(Req.matches[1]);
        QByteArray body;
        bool found = false;
        {
            std::lock_guard lock(FLock);
            ++FDetailRequests[name];
            found = FDocuments.contains(name);
            body = FDocuments.value(name);
        }
        if (!found) {
            Res.status = 404;
            return;
        }
        Res.set_content(body.constData(), body.size(), "application/json");
    });
}

void TDemoFeedServer::WaitWhileStalled()
{
    std::unique_lock lock(FLock);
    FStallEnded.wait(lock, [this] { return !FStall || FStopping; });
}

void TDemoFeedServer::AddDocument(const QString& Name, const QByteArray& Body)
{
    std::lock_guard lock(FLock);
    FDocuments.insert(Name, Body);
}

void TDemoFeedServer::SetStall(bool On)
{
    {
        std::lock_guard lock(FLock);
        FStall = On;
    }
    FStallEnded.notify_all();
}

QString TDemoFeedServer::BaseUrl() const
{
    return QStringLiteral("https://127.0.0.1:%1").arg(FPort);
}

int TDemoFeedServer::ListRequests() const
{
    std::lock_guard lock(FLock);
    return FListRequests;
}

int TDemoFeedServer::DetailRequests(const QString& Name) const
{
    std::lock_guard lock(FLock);
    return FDetailRequests.value(Name);
}
