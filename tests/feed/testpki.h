#pragma once

#include <QString>

// Certificates made when a test starts, by the demo's certificate maker: a test authority, a
// server certificate for 127.0.0.1 that it signed, and a second server certificate signed by
// an authority nobody trusts. Files are PEM in Folder.
struct TTestPki {
    QString CaFile;
    QString CertFile;
    QString KeyFile;
    QString UntrustedCertFile;
    QString UntrustedKeyFile;
};

TTestPki MakeTestPki(const QString& Folder);
