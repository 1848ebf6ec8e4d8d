#include "feed/httpclient.h"

#include "core/log.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Every request carries these; the Accept value really starts with a tab, which travels as
// whitespace after the colon.
constexpr const char* RequestHeaders[] = {
    "Accept: \ttext/html",
    "Accept-Language: ja,en-us;q=0.7,en;q=0.3",
    "Content-Type: application/json",
};
constexpr const char* UserAgent = "Pellimax";
constexpr const char* AcceptEncoding = "gzip,deflate";
constexpr long MaxRedirects = 15;
// How long one wait for network activity may last before the stop request is looked at.
constexpr int PollSliceMs = 100;

struct TEasyDeleter {
    void operator()(CURL* Easy) const { curl_easy_cleanup(Easy); }
};
struct TMultiDeleter {
    void operator()(CURLM* Multi) const { curl_multi_cleanup(Multi); }
};
struct TSlistDeleter {
    void operator()(curl_slist* List) const { curl_slist_free_all(List); }
};

// libcurl's errno after a failure may be left over from an earlier call, so the message,
// which carries the system's text for the error (in the process's language), tells.
bool IsResetMessage(const QString& Message)
{
    for (int error : {ECONNRESET, ECONNABORTED, EPIPE}) {
        if (Message.contains(QString::fromLocal8Bit(std::strerror(error))))
            return true;
    }
    return false;
}

// A send or receive that failed in the socket layer rather than in TLS.
bool IsSocketMessage(const QString& Message)
{
    return Message.startsWith(QLatin1String("Recv failure")) || Message.startsWith(QLatin1String("Send failure"));
}

}  // namespace

struct THttpClient::TImpl {
    std::unique_ptr<CURL, TEasyDeleter> Easy{curl_easy_init()};
    std::unique_ptr<CURLM, TMultiDeleter> Multi{curl_multi_init()};
    std::unique_ptr<curl_slist, TSlistDeleter> Headers;
    std::stop_token Stop;
    std::size_t MaxBodySize = 0;
    QByteArray* Body = nullptr;
    bool TooLarge = false;
    char ErrorBuffer[CURL_ERROR_SIZE] = {};

    void Configure(const THttpSettings& Settings);
    TResult Classify(CURLcode Code, QString& Message) const;
    CURLcode Run();

    static size_t WriteBody(char* Data, size_t Size, size_t Count, void* User)
    {
        auto* impl = static_cast<TImpl*>(User);
        const size_t length = Size * Count;
        // The page of an error status is not wanted: the caller gets an empty body.
        long status = 0;
        curl_easy_getinfo(impl->Easy.get(), CURLINFO_RESPONSE_CODE, &status);
        if (status >= 400)
            return length;
        if (static_cast<std::size_t>(impl->Body->size()) + length > impl->MaxBodySize) {
            impl->TooLarge = true;
            return 0;
        }
        impl->Body->append(Data, static_cast<qsizetype>(length));
        return length;
    }

    static int AbortOnStop(void* User, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        return static_cast<TImpl*>(User)->Stop.stop_requested() ? 1 : 0;
    }
};

void THttpClient::TImpl::Configure(const THttpSettings& Settings)
{
    CURL* easy = Easy.get();
    for (const char* header : RequestHeaders)
        Headers.reset(curl_slist_append(Headers.release(), header));
    const long readSeconds = std::max<long>(1, static_cast<long>((Settings.ReadTimeout.count() + 999) / 1000));

    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, ErrorBuffer);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(Settings.ConnectTimeout.count()));
    // "Nothing received for ReadTimeout": slower than one byte a second for that long.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, readSeconds);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, UserAgent);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, Headers.get());
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, AcceptEncoding);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, MaxRedirects);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    // The tab at the start of the Accept value is not allowed in HTTP/2 fields.
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
    curl_easy_setopt(easy, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2) | static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!Settings.CaFile.isEmpty())
        curl_easy_setopt(easy, CURLOPT_CAINFO, Settings.CaFile.toLocal8Bit().constData());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, AbortOnStop);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
}

// Drives the transfer in slices so that a stop request ends it at once: the stop wakes the
// wait, and the progress callback makes libcurl abandon the transfer.
CURLcode THttpClient::TImpl::Run()
{
    CURLM* multi = Multi.get();
    curl_multi_add_handle(multi, Easy.get());
    std::stop_callback wake(Stop, [multi] { curl_multi_wakeup(multi); });
    int running = 1;
    CURLMcode multiCode = CURLM_OK;
    while (multiCode == CURLM_OK) {
        multiCode = curl_multi_perform(multi, &running);
        if (multiCode != CURLM_OK || running == 0 || Stop.stop_requested())
            break;
        multiCode = curl_multi_poll(multi, nullptr, 0, PollSliceMs, nullptr);
    }
    CURLcode code = Stop.stop_requested() ? CURLE_ABORTED_BY_CALLBACK : CURLE_FAILED_INIT;
    int left = 0;
    while (const CURLMsg* msg = curl_multi_info_read(multi, &left)) {
        if (msg->msg == CURLMSG_DONE)
            code = msg->data.result;
    }
    curl_multi_remove_handle(multi, Easy.get());
    if (code == CURLE_FAILED_INIT && multiCode != CURLM_OK)
        std::snprintf(ErrorBuffer, sizeof ErrorBuffer, "%s", curl_multi_strerror(multiCode));
    return code;
}

THttpClient::TResult THttpClient::TImpl::Classify(CURLcode Code, QString& Message) const
{
    Message = QString::fromUtf8(ErrorBuffer[0] ? ErrorBuffer : curl_easy_strerror(Code));
    const bool reset = IsResetMessage(Message);
    switch (Code) {
    case CURLE_ABORTED_BY_CALLBACK:
        return TResult::Stopped;
    case CURLE_WRITE_ERROR:
        if (TooLarge)
            Message = QStringLiteral("the response body is larger than %1 bytes").arg(MaxBodySize);
        return TResult::Failed;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        return TResult::Socket;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        if (reset)
            return TResult::Reset;
        return IsSocketMessage(Message) ? TResult::Socket : TResult::Failed;
    default:
        return reset ? TResult::Reset : TResult::Failed;
    }
}

THttpClient::THttpClient(const THttpSettings& Settings, std::stop_token Stop)
    : FImpl(std::make_unique<TImpl>())
{
    FImpl->Stop = std::move(Stop);
    FImpl->MaxBodySize = Settings.MaxBodySize;
    if (FImpl->Easy && FImpl->Multi)
        FImpl->Configure(Settings);
}

THttpClient::~THttpClient() = default;

THttpClient::TResult THttpClient::Get(const QString& URL, QByteArray& Body, QString& Message)
{
    Body.clear();
    if (!FImpl->Easy || !FImpl->Multi) {
        Message = QStringLiteral("the HTTP client could not be made");
        return TResult::Failed;
    }
    FImpl->Body = &Body;
    FImpl->TooLarge = false;
    FImpl->ErrorBuffer[0] = '\0';
    curl_easy_setopt(FImpl->Easy.get(), CURLOPT_URL, URL.toUtf8().constData());
    const CURLcode code = FImpl->Run();
    FImpl->Body = nullptr;
    if (code != CURLE_OK) {
        Body.clear();
        return FImpl->Classify(code, Message);
    }
    long status = 0;
    curl_easy_getinfo(FImpl->Easy.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status >= 400)
        Body.clear();
    return TResult::Done;
}

void CreateHTTP(std::unique_ptr<THttpClient>& Client, const THttpSettings& Settings, std::stop_token Stop)
{
    Client.reset();
    Client = std::make_unique<THttpClient>(Settings, std::move(Stop));
}

bool GetDataFromSite(THttpClient* Client, const QString& URL, QByteArray* Stream)
{
    if (!Client || URL.isEmpty() || !Stream)
        return false;
    QString message;
    switch (Client->Get(URL, *Stream, message)) {
    case THttpClient::TResult::Done:
        return true;
    case THttpClient::TResult::Reset:
        WriteLog(QStringLiteral("(EqHistClass.)GetDataFromSite(10054/10053)"), message);
        return false;
    case THttpClient::TResult::Socket:
    case THttpClient::TResult::Stopped:
        return false;
    case THttpClient::TResult::Failed:
        WriteLog(QStringLiteral("(EqHistClass.)GetDataFromSite"), message);
        return false;
    }
    return false;
}
