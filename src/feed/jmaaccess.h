#pragma once

#include "feed/eqlist.h"
#include "feed/jmarec.h"

#include <QDateTime>
#include <QSet>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

// Paths on the agency's host: the list document, and the folder of the detail documents
// (followed by a report's "json" file name).
inline constexpr char ListPath[] = "/bosai/quake/data/list.json";
inline constexpr char DetailFolderPath[] = "/bosai/quake/data/";

// Where the feed is read from. The program keeps the defaults; tests point it at a local
// server with a certificate authority of their own.
struct TFeedEndpoint {
    QString BaseUrl = QStringLiteral("https://www.jma.go.jp");  // scheme, host and optional port
    QString CaFile;  // PEM bundle of trusted authorities; empty: the system's trusted store
};

// Settings the program leaves at their defaults; tests shorten the time-outs and drive the
// clock that decides when a poll is due.
struct TFeedTuning {
    // Date-times compare as instants, so the schedule needs no local-zone conversion.
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTimeUtc(); };
    std::chrono::milliseconds ConnectTimeout{16000};
    std::chrono::milliseconds ReadTimeout{16000};
    std::chrono::milliseconds PassPause{100};  // the pause at the end of every pass of the loop
};

// Seconds from the end of one poll to the start of the next; written by the window, read
// by the feed thread on every pass.
extern std::atomic<int> AccessInterval;
// Poll on the next pass; the feed thread clears it when a poll ends.
extern std::atomic<bool> ForceAccess;

class THttpClient;

// The feed thread: polls the list document, hands new reports to the window through
// EqHistList (oldest first), and between polls reads the detail documents the window asks
// for through DetailRequestList, returning the filled records through DetailResultList.
class TJMAAccess {
public:
    // Called with true at the start and false at the end of every access.
    using TAccessing = std::function<void(bool OnOff)>;
    // Runs a function on the window's thread later (for example a queued
    // QMetaObject::invokeMethod); the feed thread waits for Accessing to have run there.
    using TPost = std::function<void(std::function<void()>)>;

    TJMAAccess(TFeedEndpoint Endpoint, TEqHistList* EqHistList, TDetailList* DetailRequestList,
               TDetailList* DetailResultList, TAccessing Accessing, TPost Post, TFeedTuning Tuning = {});
    // Stops the thread and waits for it: a transfer in flight is aborted and a wait for
    // Accessing is given up, so this returns within about 200 ms.
    ~TJMAAccess();
    TJMAAccess(const TJMAAccess&) = delete;
    TJMAAccess& operator=(const TJMAAccess&) = delete;

    // Starts the thread; its first pass polls at once.
    void Start();

private:
    void Execute(std::stop_token Stop);
    bool PollDue() const;
    void Pass();
    void AccessNow();
    void GetEqList(const QString& URL);
    void HandOnNewReports();
    bool GetDetails(PJmaRec Rec);
    void Synchronize(bool OnOff);

    TFeedEndpoint FEndpoint;
    TFeedTuning FTuning;
    TEqHistList* FEqHistList;
    TDetailList* FDetailRequestList;
    TDetailList* FDetailResultList;
    TAccessing FAccessing;
    TPost FPost;

    // Used by the feed thread only.
    std::unique_ptr<THttpClient> IdHTTP;
    std::stop_token FStop;
    TJmaRecList FJsonList;
    bool TheFirst = true;
    QDateTime FLastAccessTime;
    QString FLastJson;
    QSet<QString> FTaken;  // every report handed on, so that none is handed on twice

    std::jthread FThread;
};
