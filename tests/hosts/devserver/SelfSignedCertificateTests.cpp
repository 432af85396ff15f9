#include <gtest/gtest.h>

#include <ctime>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include "hosts/devserver/SelfSignedCertificate.h"

using corvale::devserver::SelfSignedCertificate;

namespace {

int secondsFromNow(const ASN1_TIME* time) {
    int days = 0;
    int seconds = 0;
    EXPECT_EQ(ASN1_TIME_diff(&days, &seconds, nullptr, time), 1);
    return days * 24 * 3600 + seconds;
}

} // namespace

TEST(DevServerCertificate, NamesLoopbackAndVerifiesAsItsOwnAuthority) {
    std::string problem;
    auto generated = SelfSignedCertificate::generate(std::chrono::hours(2), &problem);
    ASSERT_TRUE(generated) << problem;
    X509* certificate = generated->certificate();

    EXPECT_EQ(X509_check_private_key(certificate, generated->privateKey()), 1);
    EXPECT_EQ(X509_check_ip_asc(certificate, "127.0.0.1", 0), 1);
    EXPECT_EQ(X509_check_host(certificate, "localhost", 0, 0, nullptr), 1);
    EXPECT_EQ(X509_check_ip_asc(certificate, "10.0.0.1", 0), 0);
    EXPECT_EQ(X509_check_host(certificate, "example.com", 0, 0, nullptr), 0);

    EXPECT_LE(secondsFromNow(X509_get0_notBefore(certificate)), 0);
    auto remaining = secondsFromNow(X509_get0_notAfter(certificate));
    EXPECT_GT(remaining, 2 * 3600 - 60);
    EXPECT_LE(remaining, 2 * 3600);

    // What a TLS client does with it: trust exactly this certificate and check it for a server.
    X509_STORE* store = X509_STORE_new();
    X509_STORE_add_cert(store, certificate);
    X509_STORE_CTX* context = X509_STORE_CTX_new();
    X509_STORE_CTX_init(context, store, certificate, nullptr);
    X509_STORE_CTX_set_purpose(context, X509_PURPOSE_SSL_SERVER);
    EXPECT_EQ(X509_verify_cert(context), 1)
        << X509_verify_cert_error_string(X509_STORE_CTX_get_error(context));
    X509_STORE_CTX_free(context);
    X509_STORE_free(store);

    // The PEM reads back as the same certificate.
    auto pem = generated->certificatePEM();
    BIO* memory = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
    X509* readBack = PEM_read_bio_X509(memory, nullptr, nullptr, nullptr);
    ASSERT_NE(readBack, nullptr);
    EXPECT_EQ(X509_cmp(readBack, certificate), 0);
    X509_free(readBack);
    BIO_free(memory);

    auto another = SelfSignedCertificate::generate();
    ASSERT_TRUE(another);
    EXPECT_NE(X509_cmp(another->certificate(), certificate), 0);
    EXPECT_NE(
        ASN1_INTEGER_cmp(X509_get0_serialNumber(another->certificate()), X509_get0_serialNumber(certificate)),
        0);
}
