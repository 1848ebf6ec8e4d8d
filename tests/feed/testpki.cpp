#include "testpki.h"

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
        throw std::runtime_error("EVP_EC_gen failed");
    return key;
}

void AddExtension(X509* Cert, X509* Issuer, int Nid, const char* Value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, Issuer, Cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, Nid, Value);
    if (!ext)
        throw std::runtime_error("X509V3_EXT_conf_nid failed");
    X509_add_ext(Cert, ext, -1);
    X509_EXTENSION_free(ext);
}

// Signs a certificate for Name with IssuerKey; a null Issuer makes it self-signed.
TCert MakeCert(EVP_PKEY* Key, const char* Name, X509* Issuer, EVP_PKEY* IssuerKey, bool IsCa, long Serial)
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
    if (IsCa) {
        AddExtension(cert.get(), issuer, NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(cert.get(), issuer, NID_key_usage, "critical,keyCertSign,cRLSign");
        AddExtension(cert.get(), issuer, NID_subject_key_identifier, "hash");
    } else {
        AddExtension(cert.get(), issuer, NID_basic_constraints, "critical,CA:FALSE");
        AddExtension(cert.get(), issuer, NID_subject_alt_name, "IP:127.0.0.1");
        AddExtension(cert.get(), issuer, NID_ext_key_usage, "serverAuth");
    }
    if (!X509_sign(cert.get(), IssuerKey, EVP_sha256()))
        throw std::runtime_error("X509_sign failed");
    return cert;
}

void WritePem(const QString& Path, X509* Cert, EVP_PKEY* Key)
{
    FILE* file = std::fopen(Path.toLocal8Bit().constData(), "w");
    if (!file)
        throw std::runtime_error("cannot write " + Path.toStdString());
    const bool ok = Cert ? PEM_write_X509(file, Cert) : PEM_write_PrivateKey(file, Key, nullptr, nullptr, 0, nullptr, nullptr);
    std::fclose(file);
    if (!ok)
        throw std::runtime_error("cannot write " + Path.toStdString());
}

}  // namespace

TTestPki MakeTestPki(const QString& Folder)
{
    TTestPki pki{Folder + QStringLiteral("/ca.pem"), Folder + QStringLiteral("/server.pem"),
                 Folder + QStringLiteral("/server.key"), Folder + QStringLiteral("/untrusted.pem"),
                 Folder + QStringLiteral("/untrusted.key")};
    const TKey caKey = MakeKey();
    const TCert ca = MakeCert(caKey.get(), "Tavrel test authority", nullptr, caKey.get(), true, 1);
    const TKey serverKey = MakeKey();
    const TCert server = MakeCert(serverKey.get(), "127.0.0.1", ca.get(), caKey.get(), false, 2);
    const TKey otherCaKey = MakeKey();
    const TCert otherCa = MakeCert(otherCaKey.get(), "Unknown authority", nullptr, otherCaKey.get(), true, 3);
    const TKey untrustedKey = MakeKey();
    const TCert untrusted = MakeCert(untrustedKey.get(), "127.0.0.1", otherCa.get(), otherCaKey.get(), false, 4);
    WritePem(pki.CaFile, ca.get(), nullptr);
    WritePem(pki.CertFile, server.get(), nullptr);
    WritePem(pki.KeyFile, nullptr, serverKey.get());
    WritePem(pki.UntrustedCertFile, untrusted.get(), nullptr);
    WritePem(pki.UntrustedKeyFile, nullptr, untrustedKey.get());
    return pki;
}
