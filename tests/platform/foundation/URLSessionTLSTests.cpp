#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/platform/foundation/URLSessionOutcomes.h"
#include "tests/platform/foundation/URLSessionTestServer.h"
#include "hosts/devserver/SelfSignedCertificate.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSURLSession.h"
#include "tests/support/TemporaryDeviceRoot.h"

using corvale::devserver::SelfSignedCertificate;
using platform::URLSessionConfiguration;

namespace {

class URLSessionOverHTTPS : public testing::Test {
protected:
    void SetUp() override {
        certificate = SelfSignedCertificate::generate();
        ASSERT_TRUE(certificate);
        auto tlsServer =
            std::make_unique<httplib::SSLServer>(certificate->certificate(), certificate->privateKey());
        ASSERT_TRUE(tlsServer->is_valid());
        server = std::make_unique<URLSessionTestServer>(std::move(tlsServer), "https");
        server->routes().Get("/secure", [](const httplib::Request&, httplib::Response& response) {
            response.set_header("X-Served-Over", "TLS");
            response.set_content("secret", "text/plain");
        });
        server->routes().Get("/downgrade", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("http://corvale-test.invalid/secure");
        });
        ASSERT_TRUE(server->start());
        root.writeFile("/certificate.pem", certificate->certificatePEM());
        certificateFile = root.hostPath("/certificate.pem").string();
    }

    void TearDown() override {
        if (server)
            server->stop();
    }

    URLSessionConfiguration configurationTrusting(std::string caFile) const {
        auto configuration = URLSessionConfiguration::defaultConfiguration();
        configuration.trustedCAFile = std::move(caFile);
        return configuration;
    }

    URLSessionOutcomes::Outcome fetch(const URLSessionConfiguration& configuration, const std::string& path) {
        auto session = NSURLSession::sessionWithConfiguration(configuration);
        URLSessionOutcomes outcomes;
        session->dataTaskWithURL(NSURL::URLWithString(server->url(path)), outcomes.handler(session))
            ->resume();
        EXPECT_TRUE(outcomes.waitFor(1)) << path;
        dispatch_sync(session->delegateQueue(), [] {});
        EXPECT_EQ(outcomes.size(), 1u);
        return outcomes.first();
    }

    TemporaryDeviceRoot root;
    std::optional<SelfSignedCertificate> certificate;
    std::unique_ptr<URLSessionTestServer> server;
    std::string certificateFile;
};

} // namespace

TEST_F(URLSessionOverHTTPS, AnExtraTrustedAuthorityLetsTheTransferThrough) {
    auto outcome = fetch(configurationTrusting(certificateFile), "/secure");
    ASSERT_FALSE(outcome.error) << outcome.error->description();
    ASSERT_TRUE(outcome.response);
    EXPECT_EQ(outcome.response->statusCode(), 200);
    EXPECT_EQ(outcome.data->stringValue(), "secret");
    EXPECT_EQ(outcome.response->valueForHTTPHeaderField("X-Served-Over"), "TLS");

    // Trusting the certificate does not let a redirect drop to plain HTTP elsewhere.
    auto downgraded = fetch(configurationTrusting(certificateFile), "/downgrade");
    ASSERT_TRUE(downgraded.error);
    EXPECT_EQ(downgraded.error->code(), NSURLErrorAppTransportSecurityRequiresSecureConnection);
    EXPECT_FALSE(downgraded.response);
}

TEST_F(URLSessionOverHTTPS, AnUntrustedCertificateFailsWithoutAResponse) {
    auto outcome = fetch(configurationTrusting(""), "/secure");
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->domain(), NSURLErrorDomain);
    EXPECT_EQ(outcome.error->code(), NSURLErrorServerCertificateUntrusted) << outcome.error->description();
    EXPECT_FALSE(outcome.response);
    EXPECT_FALSE(outcome.data);

    // A missing authority file is a secure-connection failure, not a way around verification.
    auto missing = fetch(configurationTrusting(root.hostPath("/absent.pem").string()), "/secure");
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->code(), NSURLErrorSecureConnectionFailed) << missing.error->description();
}

TEST_F(URLSessionOverHTTPS, TheSharedConfigurationAndTheEnvironmentNameTheTrustedAuthority) {
    auto url = NSURL::URLWithString(server->url("/secure"));
    auto previous = URLSessionConfiguration::sharedConfiguration();

    URLSessionConfiguration::setSharedConfiguration(configurationTrusting(""));
    NSErrorPtr error;
    EXPECT_FALSE(NSData::dataWithContentsOfURL(url, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), NSURLErrorServerCertificateUntrusted);

    URLSessionConfiguration::setSharedConfiguration(configurationTrusting(certificateFile));
    auto data = NSData::dataWithContentsOfURL(url, &error);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->stringValue(), "secret");
    EXPECT_EQ(NSURLSession::sharedSession()->configuration().trustedCAFile, certificateFile);
    URLSessionConfiguration::setSharedConfiguration(previous);

    ASSERT_EQ(::setenv("CORVALE_CA_FILE", certificateFile.c_str(), 1), 0);
    EXPECT_EQ(URLSessionConfiguration::defaultConfiguration().trustedCAFile, certificateFile);
    ::unsetenv("CORVALE_CA_FILE");
    EXPECT_EQ(URLSessionConfiguration::defaultConfiguration().trustedCAFile, "");
}
