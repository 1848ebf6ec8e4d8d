#include "testpki.h"

#include "democert.h"

#include <QDir>

#include <stdexcept>

TTestPki MakeTestPki(const QString& Folder)
{
    const TDemoCert trusted = MakeDemoCert(Folder);
    // A second authority of its own signs the untrusted certificate; no client trusts it.
    const QString otherFolder = Folder + QStringLiteral("/untrusted");
    if (!QDir().mkpath(otherFolder))
        throw std::runtime_error("cannot make " + otherFolder.toStdString());
    const TDemoCert untrusted = MakeDemoCert(otherFolder);
    return {trusted.CaFile, trusted.CertFile, trusted.KeyFile, untrusted.CertFile, untrusted.KeyFile};
}
