#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/hosts/devserver/TemporaryContentFolder.h"
#include "hosts/devserver/DevServer.h"

using corvale::devserver::DevServer;
using corvale::devserver::DevServerOptions;

namespace {

DevServerOptions tlsOptions(const std::filesystem::path& contentFolder,
                            const std::filesystem::path& certificate) {
    DevServerOptions options;
    options.contentFolder = contentFolder;
    options.useTLS = true;
    options.certificateOutput = certificate;
    return options;
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream contents;
    contents << stream.rdbuf();
    return contents.str();
}

} // namespace

TEST(DevServerTLS, ServesOnlyClientsThatTrustTheWrittenCertificate) {
    TemporaryContentFolder content;
    content.write("credits/Tweak.json", R"({"credits": [], "links": []})");
    content.write("merrow/manifest.json", R"({"profile": "{server}/credits/asset/p.png"})");
    auto certificateFile = content.path() / "certificate.pem";
    DevServer server(tlsOptions(content.path(), certificateFile));
    std::string problem;
    auto port = server.start(0, &problem);
    ASSERT_TRUE(port) << problem;
    EXPECT_EQ(server.baseURL(), "https://127.0.0.1:" + std::to_string(*port));
    EXPECT_EQ(readAll(certificateFile), server.certificatePEM());
    EXPECT_NE(server.certificatePEM().find("BEGIN CERTIFICATE"), std::string::npos);

    httplib::SSLClient trusting("127.0.0.1", *port);
    trusting.set_ca_cert_path(certificateFile.c_str());
    trusting.enable_server_certificate_verification(true);
    auto credits = trusting.Get("/credits/Tweak");
    ASSERT_TRUE(credits) << httplib::to_string(credits.error());
    EXPECT_EQ(credits->status, 200);
    EXPECT_EQ(nlohmann::json::parse(credits->body)["success"], true);
    auto manifest = trusting.Get("/static/app/merrow/manifest.json");
    ASSERT_TRUE(manifest);
    EXPECT_EQ(nlohmann::json::parse(manifest->body)["profile"], server.baseURL() + "/credits/asset/p.png");

    httplib::SSLClient untrusting("127.0.0.1", *port);
    untrusting.enable_server_certificate_verification(true);
    auto refused = untrusting.Get("/credits/Tweak");
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.error(), httplib::Error::SSLServerVerification);

    // Another run's certificate is no substitute.
    TemporaryContentFolder otherContent;
    auto otherCertificate = otherContent.path() / "other.pem";
    DevServer other(tlsOptions(otherContent.path(), otherCertificate));
    ASSERT_TRUE(other.start(0));
    httplib::SSLClient trustingAnother("127.0.0.1", *port);
    trustingAnother.set_ca_cert_path(otherCertificate.c_str());
    trustingAnother.enable_server_certificate_verification(true);
    EXPECT_FALSE(trustingAnother.Get("/credits/Tweak"));

    EXPECT_FALSE(httplib::Client("127.0.0.1", *port).Get("/credits/Tweak")) << "no plain HTTP on a TLS port";
}

TEST(DevServerTLS, UnwritableCertificateOutputStopsTheStart) {
    TemporaryContentFolder content;
    DevServer server(tlsOptions(content.path(), content.path() / "missing/folder/certificate.pem"));
    std::string problem;
    EXPECT_FALSE(server.start(0, &problem));
    EXPECT_NE(problem.find("certificate"), std::string::npos) << problem;
}
