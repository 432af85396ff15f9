#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/platform/foundation/URLSessionOutcomes.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/URLLoadingPolicy.h"

using platform::URLLoadingPolicy;

TEST(URLSessionPolicy, OnlyLoopbackHostsCountAsLoopback) {
    for (const char* host :
         {"localhost", "LocalHost", "127.0.0.1", "127.255.3.4", "::1", "[::1]", "0:0:0:0:0:0:0:1"})
        EXPECT_TRUE(URLLoadingPolicy::isLoopbackHost(host)) << host;
    for (const char* host :
         {"", "example.com", "128.0.0.1", "10.0.0.1", "127.0.0.1.example.com", "localhost.example.com",
          "mylocalhost", "127.1", "0x7f.0.0.1", "2130706433", "::2", "[::1", "::ffff:10.0.0.1"})
        EXPECT_FALSE(URLLoadingPolicy::isLoopbackHost(host)) << host;
}

TEST(URLSessionPolicy, PlainHTTPIsForLoopbackOnlyAndOtherSchemesNotAtAll) {
    for (const char* url :
         {"https://example.com/credits.json", "HTTPS://Example.COM", "http://127.0.0.1:8080/x",
          "http://localhost/", "http://[::1]:9000/a?b", "HTTP://127.0.0.9/"})
        EXPECT_FALSE(URLLoadingPolicy::rejectionCode(url)) << url;

    auto codeFor = [](const char* url) { return URLLoadingPolicy::rejectionCode(url).value_or(0); };
    for (const char* url :
         {"http://example.com/", "http://127.0.0.1.example.com/", "http://127.1/",
          "http://example.com#@127.0.0.1/", "http://10.0.0.1/", "http://localhost.invalid/"})
        EXPECT_EQ(codeFor(url), NSURLErrorAppTransportSecurityRequiresSecureConnection) << url;
    for (const char* url : {"ftp://127.0.0.1/x", "file:///etc/passwd", "gopher://localhost/", "relative/path",
                            "/absolute/path"})
        EXPECT_EQ(codeFor(url), NSURLErrorUnsupportedURL) << url;
    for (const char* url : {"", "http://", "https:///no-host", "http://exa mple.com/"})
        EXPECT_EQ(codeFor(url), NSURLErrorBadURL) << url;
}

TEST(URLSessionPolicy, ATaskForAForbiddenURLFailsAtOnceOnTheDelegateQueue) {
    auto session = NSURLSession::sharedSession();
    URLSessionOutcomes outcomes;
    // A name under .invalid never resolves: an attempt to connect would end in another error.
    auto plain = session->dataTaskWithURL(NSURL::URLWithString("http://corvale-test.invalid/credits.json"),
                                          outcomes.handler(session, 1));
    auto ftp = session->dataTaskWithURL(NSURL::URLWithString("ftp://127.0.0.1/credits.json"),
                                        outcomes.handler(session, 2));
    auto nothing = session->dataTaskWithURL(nullptr, outcomes.handler(session, 3));
    plain->resume();
    ftp->resume();
    nothing->resume();
    ASSERT_TRUE(outcomes.waitFor(3));

    std::map<int, std::int64_t> codes;
    for (const auto& outcome : outcomes.all()) {
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->domain(), NSURLErrorDomain);
        EXPECT_FALSE(outcome.response);
        EXPECT_FALSE(outcome.data);
        EXPECT_TRUE(outcome.onDelegateQueue);
        codes[outcome.tag] = outcome.error->code();
    }
    EXPECT_EQ(codes[1], NSURLErrorAppTransportSecurityRequiresSecureConnection);
    EXPECT_EQ(codes[2], NSURLErrorUnsupportedURL);
    EXPECT_EQ(codes[3], NSURLErrorBadURL);
    EXPECT_EQ(plain->state(), NSURLSessionTaskState::Completed);
    EXPECT_EQ(plain->originalRequestURL()->absoluteString(), "http://corvale-test.invalid/credits.json");
}
