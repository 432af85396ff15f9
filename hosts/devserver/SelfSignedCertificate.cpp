#include "hosts/devserver/SelfSignedCertificate.h"

#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

namespace corvale::devserver {

namespace {

constexpr long clockSkewAllowance = 60;

std::string openSSLProblem(const char* step) {
    std::string problem = step;
    if (auto code = ERR_get_error()) {
        char text[256];
        ERR_error_string_n(code, text, sizeof text);
        problem += ": ";
        problem += text;
    }
    ERR_clear_error();
    return problem;
}

bool setRandomSerialNumber(X509* certificate) {
    std::unique_ptr<BIGNUM, decltype(&BN_free)> serial(BN_new(), BN_free);
    return serial && BN_rand(serial.get(), 127, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) == 1 &&
           BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(certificate)) != nullptr;
}

bool setName(X509* certificate) {
    X509_NAME* name = X509_get_subject_name(certificate);
    auto add = [name](const char* field, const char* value) {
        return X509_NAME_add_entry_by_txt(name, field, MBSTRING_UTF8,
                                          reinterpret_cast<const unsigned char*>(value), -1, -1, 0) == 1;
    };
    return add("O", "Corvale development") && add("CN", "corvale-devserver") &&
           X509_set_issuer_name(certificate, name) == 1;
}

bool addExtension(X509* certificate, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_nconf_nid(nullptr, &context, nid, value);
    if (!extension) {
        return false;
    }
    bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

bool addExtensions(X509* certificate) {
    // The key identifier must exist before the authority identifier that refers to it.
    return addExtension(certificate, NID_basic_constraints, "critical,CA:FALSE") &&
           addExtension(certificate, NID_ext_key_usage, "serverAuth") &&
           addExtension(certificate, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost") &&
           addExtension(certificate, NID_subject_key_identifier, "hash") &&
           addExtension(certificate, NID_authority_key_identifier, "keyid:always");
}

} // namespace

SelfSignedCertificate::SelfSignedCertificate(std::unique_ptr<X509, CertificateFree> certificate,
                                             std::unique_ptr<EVP_PKEY, KeyFree> privateKey)
    : m_certificate(std::move(certificate)), m_privateKey(std::move(privateKey)) {}

std::optional<SelfSignedCertificate> SelfSignedCertificate::generate(std::chrono::seconds validity,
                                                                     std::string* problem) {
    auto fail = [problem](const char* step) -> std::optional<SelfSignedCertificate> {
        auto description = openSSLProblem(step);
        if (problem) {
            *problem = description;
        }
        return std::nullopt;
    };
    std::unique_ptr<EVP_PKEY, KeyFree> key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
    if (!key) {
        return fail("generating the key");
    }
    std::unique_ptr<X509, CertificateFree> certificate(X509_new());
    if (!certificate || X509_set_version(certificate.get(), X509_VERSION_3) != 1 ||
        !setRandomSerialNumber(certificate.get())) {
        return fail("creating the certificate");
    }
    if (!X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -clockSkewAllowance) ||
        !X509_gmtime_adj(X509_getm_notAfter(certificate.get()), static_cast<long>(validity.count()))) {
        return fail("setting the validity");
    }
    if (!setName(certificate.get()) || X509_set_pubkey(certificate.get(), key.get()) != 1 ||
        !addExtensions(certificate.get())) {
        return fail("describing the certificate");
    }
    if (X509_sign(certificate.get(), key.get(), EVP_sha256()) <= 0) {
        return fail("signing the certificate");
    }
    return SelfSignedCertificate(std::move(certificate), std::move(key));
}

std::string SelfSignedCertificate::certificatePEM() const {
    std::unique_ptr<BIO, decltype(&BIO_free)> memory(BIO_new(BIO_s_mem()), BIO_free);
    if (!memory || PEM_write_bio_X509(memory.get(), m_certificate.get()) != 1) {
        return {};
    }
    char* data = nullptr;
    long length = BIO_get_mem_data(memory.get(), &data);
    return length > 0 ? std::string(data, static_cast<std::size_t>(length)) : std::string();
}

} // namespace corvale::devserver
