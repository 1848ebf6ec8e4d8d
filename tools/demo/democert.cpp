#include "democert.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

using TKey = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using TCert = std::unique_ptr<X509, decltype(&X509_free)>;

TKey MakeKey()
{
    TKey key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    if (!key)
        throw std::runtime_error("cannot make a key");
    return key;
}

void AddExtension(X509* Cert, X509* Issuer, int Nid, const char* Value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, Issuer, Cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, Nid, Value);
    if (!ext)
        throw std::runtime_error("cannot make a certificate extension");
    X509_add_ext(Cert, ext, -1);
    X509_EXTENSION_free(ext);
}

// A certificate for Key named Name, valid for a day; without Issuer it signs itself as an
// authority, with one it is a server certificate for 127.0.0.1.
TCert MakeCert(EVP_PKEY* Key, const char* Name, X509* Issuer, EVP_PKEY* IssuerKey, long Serial)
{
    TCert cert(X509_new(), X509_free);
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), Serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 86400);
    X509_set_pubkey(cert.get(), Key);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(Name), -1, -1, 0);
    X509* issuer = Issuer ? Issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(issuer));
    if (!Issuer) {
        AddExtension(cert.get(), issuer, NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(cert.get(), issuer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        AddExtension(cert.get(), issuer, NID_basic_constraints, "critical,CA:FALSE");
        AddExtension(cert.get(), issuer, NID_subject_alt_name, "IP:127.0.0.1");
        AddExtension(cert.get(), issuer, NID_ext_key_usage, "serverAuth");
    }
    if (!X509_sign(cert.get(), IssuerKey, EVP_sha256()))
        throw std::runtime_error("cannot sign a certificate");
    return cert;
}

void WritePem(const QString& Path, X509* Cert, EVP_PKEY* Key)
{
    FILE* file = std::fopen(Path.toLocal8Bit().constData(), "w");
    if (!file)
        throw std::runtime_error("cannot write " + Path.toStdString());
    const bool ok =
        Cert ? PEM_write_X509(file, Cert) : PEM_write_PrivateKey(file, Key, nullptr, nullptr, 0, nullptr, nullptr);
    std::fclose(file);
    if (!ok)
        throw std::runtime_error("cannot write " + Path.toStdString());
}

}  // namespace

TDemoCert MakeDemoCert(const QString& Folder)
{
    const TDemoCert files{Folder + QStringLiteral("/demo-ca.pem"), Folder + QStringLiteral("/demo-server.pem"),
                          Folder + QStringLiteral("/demo-server.key")};
    const TKey caKey = MakeKey();
    const TCert ca = MakeCert(caKey.get(), "Tavrel demo authority", nullptr, caKey.get(), 1);
    const TKey serverKey = MakeKey();
    const TCert server = MakeCert(serverKey.get(), "127.0.0.1", ca.get(), caKey.get(), 2);
    WritePem(files.CaFile, ca.get(), nullptr);
    WritePem(files.CertFile, server.get(), nullptr);
    WritePem(files.KeyFile, nullptr, serverKey.get());
    return files;
}
