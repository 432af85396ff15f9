#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace corvale::devserver {

// A throw-away certificate for serving HTTPS on loopback: a P-256 key and a self-signed X.509 v3
// certificate for IP:127.0.0.1 and DNS:localhost, valid from a minute ago (clock skew) for the
// requested time. Clients trust it by being given its PEM as their only authority.
class SelfSignedCertificate {
public:
    static constexpr std::chrono::seconds defaultValidity = std::chrono::hours(48);

    static std::optional<SelfSignedCertificate> generate(std::chrono::seconds validity = defaultValidity,
                                                         std::string* problem = nullptr);

    X509* certificate() const { return m_certificate.get(); }
    EVP_PKEY* privateKey() const { return m_privateKey.get(); }
    std::string certificatePEM() const;

private:
    struct CertificateFree {
        void operator()(X509* certificate) const { X509_free(certificate); }
    };
    struct KeyFree {
        void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    };

    SelfSignedCertificate(std::unique_ptr<X509, CertificateFree> certificate,
                          std::unique_ptr<EVP_PKEY, KeyFree> privateKey);

    std::unique_ptr<X509, CertificateFree> m_certificate;
    std::unique_ptr<EVP_PKEY, KeyFree> m_privateKey;
};

} // namespace corvale::devserver
