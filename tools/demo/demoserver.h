#pragma once

#include "democert.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class SSLServer;
}

// A feed on 127.0.0.1 over HTTPS: the list document and the detail documents at the paths
// the agency uses. The list body is asked for afresh on every request, so that a feed can
// grow while it is watched. Any request can be made to stall, as a server that never answers.
class TDemoFeedServer {
public:
    // Body of the list document for the Count-th request (counting from 1).
    using TListBody = std::function<QByteArray(int Count)>;

    TDemoFeedServer(const TDemoCert& Cert, TListBody ListBody);
    // Releases stalled requests and stops the server.
    ~TDemoFeedServer();
    TDemoFeedServer(const TDemoFeedServer&) = delete;
    TDemoFeedServer& operator=(const TDemoFeedServer&) = delete;

    // Serves Body as the detail document Name; unknown names get 404.
    void AddDocument(const QString& Name, const QByteArray& Body);
    // While on, requests wait without an answer until it is turned off or the server stops.
    void SetStall(bool On);

    QString BaseUrl() const;
    int ListRequests() const;
    int DetailRequests(const QString& Name) const;

private:
    void Route();
    void WaitWhileStalled();

    TListBody FListBody;
    std::unique_ptr<httplib::SSLServer> FServer;
    int FPort = 0;
    mutable std::mutex FLock;
    std::condition_variable FStallEnded;
    bool FStall = false;
    bool FStopping = false;
    int FListRequests = 0;
    QHash<QString, QByteArray> FDocuments;
    QHash<QString, int> FDetailRequests;
    std::thread FThread;
};
