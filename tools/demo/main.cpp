// The viewer on a recorded feed, offline: serves the feed over HTTPS on 127.0.0.1 with a
// certificate made at start, and opens the real window on it, polling every two seconds.
// The newest reports are held back at first; one more appears every few polls, so the list
// grows while one watches. Only those newest reports have detail documents; the older ones
// of the history answer 404, so the report list comes back after 3 s instead of 10.
//
// tavrel-demo [--grab FILE [--after SECONDS]]: with --grab, saves a picture of the window
// after SECONDS (8 unless given) and closes it.

#include "app/defaultfont.h"
#include "app/mainform.h"
#include "democert.h"
#include "demoserver.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <curl/curl.h>

#include <cstdio>
#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {

// The first entries of the recorded list that come one by one, and how many polls apart.
constexpr int HeldBack = 2;
constexpr int PollsPerReport = 3;

QByteArray Resource(const QString& Name)
{
    QFile file(QStringLiteral(":/demo/") + Name);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing demo resource " + Name.toStdString());
    return file.readAll();
}

// The recorded list as it stands at the Count-th poll.
QByteArray ListAt(const QJsonArray& Entries, int Count)
{
    const int hidden = std::max(0, HeldBack - (Count - 1) / PollsPerReport);
    QJsonArray shown;
    for (qsizetype i = hidden; i < Entries.size(); ++i)
        shown.append(Entries[i]);
    return QJsonDocument(shown).toJson(QJsonDocument::Compact);
}

int Run(QApplication& App)
{
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption grab(QStringLiteral("grab"), QStringLiteral("Save a picture of the window to FILE."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption after(QStringLiteral("after"), QStringLiteral("Seconds before the picture."),
                                   QStringLiteral("SECONDS"), QStringLiteral("8"));
    parser.addOptions({grab, after});
    parser.process(App);

    QTemporaryDir folder;
    if (!folder.isValid())
        throw std::runtime_error("cannot make a scratch folder");
    const TDemoCert cert = MakeDemoCert(folder.path());
    const QJsonArray entries = QJsonDocument::fromJson(Resource(QStringLiteral("list.json"))).array();
    TDemoFeedServer server(cert, [entries](int Count) { return ListAt(entries, Count); });
    for (const auto& entry : entries) {
        const QString name = entry.toObject().value(QStringLiteral("json")).toString();
        if (QFile::exists(QStringLiteral(":/demo/") + name))
            server.AddDocument(name, Resource(name));
    }
    std::printf("tavrel-demo: feed at %s, files in %s\n", qPrintable(server.BaseUrl()), qPrintable(folder.path()));
    std::fflush(stdout);

    TMainFormOptions options;
    options.Endpoint = server.BaseUrl();
    options.CaFile = cert.CaFile;
    options.Folder = folder.path();
    options.AccessIntervalSec = 2;
    options.DetailTimeoutMs = 3000;
    TMainForm form(options);
    form.show();
    if (parser.isSet(grab)) {
        const QString file = parser.value(grab);
        QTimer::singleShot(static_cast<int>(parser.value(after).toDouble() * 1000), &form, [&form, file] {
            if (!form.grab().save(file))
                std::fprintf(stderr, "tavrel-demo: cannot save %s\n", qPrintable(file));
            form.close();
        });
    }
    return App.exec();
}

}  // namespace

int main(int argc, char* argv[])
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    int status = 0;
    {
        QApplication app(argc, argv);
        InstallDefaultFont();
        try {
            status = Run(app);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tavrel-demo: %s\n", e.what());
            status = 1;
        }
    }
    curl_global_cleanup();
    return status;
}
