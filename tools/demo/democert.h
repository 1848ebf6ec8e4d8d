#pragma once

#include <QString>

// A certificate authority and a server certificate for 127.0.0.1 that it signed, made
// afresh and written as PEM files into Folder. CaFile is what a client trusts.
struct TDemoCert {
    QString CaFile;
    QString CertFile;
    QString KeyFile;
};

// Throws std::runtime_error when a key, a certificate or a file cannot be made.
TDemoCert MakeDemoCert(const QString& Folder);
