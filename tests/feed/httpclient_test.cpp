#include "feed/httpclient.h"

#include "testservers.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <zlib.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

QByteArray ReadData(const char* Name)
{
    QFile file(QStringLiteral(TAVREL_TEST_DATA "/") + QLatin1String(Name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << Name;
    return file.readAll();
}

// WindowBits 31 writes a gzip stream, 15 a zlib ("deflate") stream.
QByteArray Compress(const QByteArray& Data, int WindowBits)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, WindowBits, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, Data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
    stream.avail_in = static_cast<uInt>(Data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return out;
}

class HttpClientTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FFolder.isValid());
        FPki = MakeTestPki(FFolder.path());
        StartFreshLog(FFolder.path());
    }

    std::unique_ptr<THttpClient> Client(THttpSettings Settings = {})
    {
        Settings.CaFile = FPki.CaFile;
        std::unique_ptr<THttpClient> client;
        CreateHTTP(client, Settings, FStop.get_token());
        return client;
    }

    QTemporaryDir FFolder;
    TTestPki FPki;
    std::stop_source FStop;
};

// The list document served plain and compressed both ways; error statuses end the request
// normally with an empty body.
TEST_F(HttpClientTest, ReadsBodiesAndTreatsErrorStatusesAsEmpty)
{
    const QByteArray list = ReadData("list.json");
    TTestHttpsServer server(FPki);
    auto& http = server.Http();
    http.Get("/plain", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(list.toStdString(), "application/json; charset=utf-8");
    });
    http.Get("/gzip", [&](const httplib::Request&, httplib::Response& res) {
        res.set_header("Content-Encoding", "gzip");
        res.set_content(Compress(list, 31).toStdString(), "application/json; charset=utf-8");
    });
    http.Get("/deflate", [&](const httplib::Request&, httplib::Response& res) {
        res.set_header("Content-Encoding", "deflate");
        res.set_content(Compress(list, 15).toStdString(), "application/json; charset=utf-8");
    });
    for (int status : {404, 503}) {
        http.Get("/" + std::to_string(status), [status](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            res.set_content("error page", "text/html");
        });
    }
    server.Start();
    auto client = Client();

    struct Case {
        const char* path;
        QByteArray body;
    } cases[] = {{"/plain", list}, {"/gzip", list}, {"/deflate", list}, {"/404", {}}, {"/503", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        QByteArray body("left over");
        EXPECT_TRUE(GetDataFromSite(client.get(), server.BaseUrl() + QLatin1String(c.path), &body));
        EXPECT_EQ(body, c.body);
    }
    EXPECT_EQ(LogEntries(), QStringList());
}

TEST_F(HttpClientTest, FollowsRedirectsAndSendsCookiesBack)
{
    TTestHttpsServer server(FPki);
    auto& http = server.Http();
    http.Get("/old", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/new"); });
    http.Get("/new", [](const httplib::Request&, httplib::Response& res) { res.set_content("moved", "text/plain"); });
    http.Get("/set", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "session=abc123; Path=/");
        res.set_content("set", "text/plain");
    });
    http.Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(req.get_header_value("Cookie"), "text/plain");
    });
    server.Start();
    auto client = Client();

    QByteArray body;
    ASSERT_TRUE(GetDataFromSite(client.get(), server.BaseUrl() + QStringLiteral("/old"), &body));
    EXPECT_EQ(body, "moved");
    ASSERT_TRUE(GetDataFromSite(client.get(), server.BaseUrl() + QStringLiteral("/set"), &body));
    ASSERT_TRUE(GetDataFromSite(client.get(), server.BaseUrl() + QStringLiteral("/echo"), &body));
    EXPECT_EQ(body, "session=abc123");
}

TEST_F(HttpClientTest, SendsTheRequestHeadersExactly)
{
    TRawTlsServer server(FPki, {});
    auto client = Client();
    QByteArray body;
    ASSERT_TRUE(GetDataFromSite(client.get(), server.BaseUrl() + QStringLiteral("/bosai/quake/data/list.json"), &body));
    EXPECT_EQ(body, "[]");

    const QList<QByteArray> lines = server.LastRequest().split('\n');
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], "GET /bosai/quake/data/list.json HTTP/1.1\r");
    for (const QByteArray& expected : {QByteArray("User-Agent: Pellimax\r"), QByteArray("Accept: \ttext/html\r"),
                                      QByteArray("Accept-Language: ja,en-us;q=0.7,en;q=0.3\r"),
                                      QByteArray("Accept-Encoding: gzip,deflate\r"),
                                      QByteArray("Content-Type: application/json\r")}) {
        EXPECT_EQ(lines.count(expected), 1) << expected.constData();
    }
    for (const QByteArray& name : {QByteArray("User-Agent:"), QByteArray("Accept:"), QByteArray("Accept-Encoding:")}) {
        const auto named = std::count_if(lines.begin(), lines.end(), [&](const QByteArray& l) { return l.startsWith(name); });
        EXPECT_EQ(named, 1) << name.constData();
    }
}

// Which failures are logged, and under which name.
TEST_F(HttpClientTest, LogsFailuresByKind)
{
    struct Case {
        const char* name;
        TRawTlsServer::TOptions server;
        const char* logName;  // nullptr: no log line
    } cases[] = {
        {"reset", {TRawTlsServer::TMode::Reset, false, false}, "(EqHistClass.)GetDataFromSite(10054/10053)"},
        {"TLS 1.3 only", {TRawTlsServer::TMode::Answer, true, false}, "(EqHistClass.)GetDataFromSite"},
        {"untrusted certificate", {TRawTlsServer::TMode::Answer, false, true}, "(EqHistClass.)GetDataFromSite"},
        {"read time-out", {TRawTlsServer::TMode::Stall, false, false}, nullptr},
    };
    THttpSettings settings;
    settings.ReadTimeout = 1s;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartFreshLog(FFolder.path());
        TRawTlsServer server(FPki, c.server);
        auto client = Client(settings);
        QByteArray body("left over");
        EXPECT_FALSE(GetDataFromSite(client.get(), server.BaseUrl() + QStringLiteral("/list.json"), &body));
        EXPECT_TRUE(body.isEmpty());
        const QStringList log = LogEntries();
        if (!c.logName) {
            EXPECT_EQ(log, QStringList());
            continue;
        }
        ASSERT_EQ(log.size(), 1);
        EXPECT_TRUE(log[0].startsWith(QLatin1String(c.logName) + u'-')) << log[0].toStdString();
        EXPECT_GT(log[0].size(), static_cast<qsizetype>(std::strlen(c.logName) + 1)) << "the message is missing";
    }
}

TEST_F(HttpClientTest, RefusedConnectionIsNotLogged)
{
    int port = 0;
    {
        TRawTlsServer closed(FPki, {});
        port = closed.BaseUrl().section(u':', -1).toInt();
    }
    auto client = Client();
    QByteArray body;
    EXPECT_FALSE(GetDataFromSite(client.get(), QStringLiteral("https://127.0.0.1:%1/list.json").arg(port), &body));
    EXPECT_EQ(LogEntries(), QStringList());
}

TEST_F(HttpClientTest, BodyBeyondTheCapFails)
{
    const QByteArray big(4096, 'x');
    TTestHttpsServer server(FPki);
    server.Http().Get("/big", [&](const httplib::Request&, httplib::Response& res) {
        res.set_header("Content-Encoding", "gzip");
        res.set_content(Compress(big, 31).toStdString(), "application/json; charset=utf-8");
    });
    server.Start();
    THttpSettings settings;
    settings.MaxBodySize = 4095;
    auto client = Client(settings);
    QByteArray body;
    EXPECT_FALSE(GetDataFromSite(client.get(), server.BaseUrl() + QStringLiteral("/big"), &body));
    EXPECT_TRUE(body.isEmpty());
    const QStringList log = LogEntries();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].startsWith(QLatin1String("(EqHistClass.)GetDataFromSite-"))) << log[0].toStdString();
}

TEST_F(HttpClientTest, StopAbortsAStalledTransferWithoutALogLine)
{
    TRawTlsServer server(FPki, {TRawTlsServer::TMode::Stall, false, false});
    auto client = Client();
    std::thread stopper([&] {
        for (int i = 0; i < 500 && server.Requests() == 0; ++i)
            std::this_thread::sleep_for(10ms);
        FStop.request_stop();
    });
    QByteArray body;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(GetDataFromSite(client.get(), server.BaseUrl() + QStringLiteral("/list.json"), &body));
    const auto took = std::chrono::steady_clock::now() - start;
    stopper.join();
    EXPECT_LT(took, 10s) << "the stop did not end the transfer before the read time-out";
    EXPECT_EQ(LogEntries(), QStringList());
}

TEST(GetDataFromSiteTest, MissingArgumentsGiveFalse)
{
    std::unique_ptr<THttpClient> client;
    CreateHTTP(client, {}, {});
    QByteArray body;
    EXPECT_FALSE(GetDataFromSite(nullptr, QStringLiteral("https://127.0.0.1/"), &body));
    EXPECT_FALSE(GetDataFromSite(client.get(), QString(), &body));
    EXPECT_FALSE(GetDataFromSite(client.get(), QStringLiteral("https://127.0.0.1/"), nullptr));
}

}  // namespace
