#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "tests/platform/foundation/URLSessionOutcomes.h"
#include "tests/platform/foundation/URLSessionRefusedPort.h"
#include "tests/platform/foundation/URLSessionTestGate.h"
#include "tests/platform/foundation/URLSessionTestServer.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSURLSession.h"

using namespace std::chrono_literals;
using platform::URLSessionConfiguration;

namespace {

// Bytes of every value, NULs included, over several writes of libcurl's.
std::string binaryBody() {
    std::string body(100 * 1024, '\0');
    for (std::size_t index = 0; index < body.size(); ++index)
        body[index] = static_cast<char>((index * 7 + index / 251) % 256);
    return body;
}

// Compressible text: the server gzips it, and the client must hand back what was sent.
std::string textBody() {
    std::string body;
    for (int line = 0; body.size() < 64 * 1024; ++line)
        body += "line " + std::to_string(line) + " of the credits text\n";
    return body;
}

std::string textOf(const std::shared_ptr<NSData>& data) {
    return data ? data->stringValue() : "<nil>";
}

int pathNumber(const httplib::Request& request) {
    return std::stoi(request.matches[1].str());
}

void serveBytes(httplib::Response& response, std::size_t length, bool announceLength) {
    auto provider = [](std::size_t offset, std::size_t remaining, httplib::DataSink& sink) {
        std::string chunk(std::min<std::size_t>(remaining, 16 * 1024), 'x');
        (void)offset;
        return sink.write(chunk.data(), chunk.size());
    };
    if (announceLength) {
        response.set_content_provider(length, "application/octet-stream", provider);
        return;
    }
    response.set_chunked_content_provider(
        "application/octet-stream",
        [length, sent = std::size_t{0}](std::size_t, httplib::DataSink& sink) mutable {
            std::string chunk(std::min<std::size_t>(length - sent, 16 * 1024), 'x');
            sent += chunk.size();
            if (!chunk.empty() && !sink.write(chunk.data(), chunk.size()))
                return false;
            if (sent == length)
                sink.done();
            return true;
        });
}

class URLSessionOverHTTP : public testing::Test {
protected:
    void SetUp() override {
        auto& routes = server.routes();
        routes.Get("/hello", [](const httplib::Request&, httplib::Response& response) {
            response.set_header("X-Corvale-Token", "abc123");
            response.set_header("x-lower-only", "yes");
            response.set_header("Set-Twice", "one");
            response.set_header("Set-Twice", "two");
            response.set_content(binaryBody(), "application/octet-stream");
        });
        routes.Get("/text", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(textBody(), "text/plain");
        });
        routes.Get("/missing", [](const httplib::Request&, httplib::Response& response) {
            response.status = 404;
            response.set_content("no such thing", "text/plain");
        });
        routes.Get("/broken", [](const httplib::Request&, httplib::Response& response) {
            response.status = 500;
            response.set_content("it broke", "text/plain");
        });
        routes.Get("/stall", [this](const httplib::Request&, httplib::Response& response) {
            gate.pass();
            response.set_content("late", "text/plain");
        });
        routes.Get(R"(/echo/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content("echo " + request.matches[1].str(), "text/plain");
        });
        routes.Get(R"(/hop/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            int remaining = pathNumber(request);
            if (remaining == 0) {
                response.set_header("X-Final", "yes");
                response.set_content("landed", "text/plain");
                return;
            }
            response.status = remaining % 2 ? 302 : 301;
            response.set_header("X-Hop", std::to_string(remaining));
            // Relative, so that libcurl's resolution of the target is what gets checked and followed.
            response.set_header("Location", "/hop/" + std::to_string(remaining - 1));
        });
        routes.Get("/away", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("http://corvale-test.invalid/credits.json");
        });
        routes.Get("/ftp", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("ftp://127.0.0.1/credits.json");
        });
        routes.Get(R"(/sized/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            serveBytes(response, static_cast<std::size_t>(pathNumber(request)), true);
        });
        routes.Get(R"(/chunked/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            serveBytes(response, static_cast<std::size_t>(pathNumber(request)), false);
        });
        routes.set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
            ++requestCount;
            return httplib::Server::HandlerResponse::Unhandled;
        });
        ASSERT_TRUE(server.start());
    }

    void TearDown() override {
        gate.open();
        server.stop();
    }

    std::shared_ptr<NSURL> url(const std::string& path) const {
        return NSURL::URLWithString(server.url(path));
    }

    // One task to completion on the session; its single outcome.
    URLSessionOutcomes::Outcome fetch(const std::shared_ptr<NSURLSession>& session, const std::string& path) {
        URLSessionOutcomes outcomes;
        session->dataTaskWithURL(url(path), outcomes.handler(session))->resume();
        EXPECT_TRUE(outcomes.waitFor(1)) << path;
        // Whatever else might come for this task would be queued behind this point.
        dispatch_sync(session->delegateQueue(), [] {});
        EXPECT_EQ(outcomes.size(), 1u) << path;
        return outcomes.first();
    }

    static std::shared_ptr<NSURLSession> sessionWith(std::size_t maximumBodyLength,
                                                     std::chrono::milliseconds timeout = 60s) {
        auto configuration = URLSessionConfiguration::defaultConfiguration();
        configuration.maximumBodyLength = maximumBodyLength;
        configuration.timeout = timeout;
        return NSURLSession::sessionWithConfiguration(configuration);
    }

    static void expectFailure(const URLSessionOutcomes::Outcome& outcome, std::int64_t code) {
        ASSERT_TRUE(outcome.error) << "expected error " << code;
        EXPECT_EQ(outcome.error->domain(), NSURLErrorDomain);
        EXPECT_EQ(outcome.error->code(), code) << outcome.error->description();
        EXPECT_FALSE(outcome.data);
        EXPECT_FALSE(outcome.response) << "a failed transfer has no response";
    }

    URLSessionTestServer server;
    URLSessionTestGate gate;
    std::atomic<int> requestCount{0};
};

} // namespace

TEST_F(URLSessionOverHTTP, DeliversTheBodyAndTheHeadersAsTheServerSentThem) {
    auto session = NSURLSession::sharedSession();
    auto outcome = fetch(session, "/hello");
    ASSERT_FALSE(outcome.error) << outcome.error->description();
    ASSERT_TRUE(outcome.response);
    EXPECT_EQ(outcome.response->statusCode(), 200);
    EXPECT_EQ(textOf(outcome.data), binaryBody());
    ASSERT_TRUE(outcome.response->URL());
    EXPECT_EQ(outcome.response->URL()->absoluteString(), server.url("/hello"));

    const auto& fields = outcome.response->allHeaderFields();
    auto hasName = [&](const std::string& name) {
        return std::any_of(fields.begin(), fields.end(),
                           [&](const auto& field) { return field.first == name; });
    };
    EXPECT_TRUE(hasName("X-Corvale-Token"));
    EXPECT_TRUE(hasName("x-lower-only"));
    EXPECT_FALSE(hasName("X-Lower-Only"));
    EXPECT_EQ(outcome.response->valueForHTTPHeaderField("x-corvale-token"), "abc123");
    EXPECT_EQ(outcome.response->valueForHTTPHeaderField("X-LOWER-ONLY"), "yes");
    EXPECT_EQ(outcome.response->valueForHTTPHeaderField("Set-Twice"), "one, two");
    EXPECT_FALSE(outcome.response->valueForHTTPHeaderField("X-Not-Sent"));

    // Compressed on the wire, handed back as sent.
    auto text = fetch(session, "/text");
    ASSERT_FALSE(text.error);
    EXPECT_EQ(textOf(text.data), textBody());
}

TEST_F(URLSessionOverHTTP, AnHTTPErrorStatusIsAResponseNotAnError) {
    auto session = NSURLSession::sharedSession();
    auto missing = fetch(session, "/missing");
    EXPECT_FALSE(missing.error);
    ASSERT_TRUE(missing.response);
    EXPECT_EQ(missing.response->statusCode(), 404);
    EXPECT_EQ(textOf(missing.data), "no such thing");

    auto broken = fetch(session, "/broken");
    EXPECT_FALSE(broken.error);
    ASSERT_TRUE(broken.response);
    EXPECT_EQ(broken.response->statusCode(), 500);
    EXPECT_EQ(textOf(broken.data), "it broke");
}

TEST_F(URLSessionOverHTTP, ARefusedConnectionIsAnErrorWithoutAResponse) {
    URLSessionRefusedPort refused;
    ASSERT_GT(refused.port(), 0);
    auto session = NSURLSession::sharedSession();
    URLSessionOutcomes outcomes;
    session->dataTaskWithURL(NSURL::URLWithString(refused.url("/credits.json")), outcomes.handler(session))
        ->resume();
    ASSERT_TRUE(outcomes.waitFor(1));
    expectFailure(outcomes.first(), NSURLErrorCannotConnectToHost);
    EXPECT_FALSE(outcomes.first().onMainThread);
}

TEST_F(URLSessionOverHTTP, CompletionsRunOneAtATimeOnTheDelegateQueueAndNeverOnTheMainThread) {
    auto session = NSURLSession::sharedSession();
    URLSessionOutcomes outcomes;
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    constexpr int taskCount = 8;
    std::set<std::int64_t> identifiers;
    for (int index = 0; index < taskCount; ++index) {
        auto record = outcomes.handler(session, index);
        auto task = session->dataTaskWithURL(url("/echo/" + std::to_string(index)),
                                             [&, record](auto data, auto response, auto error) {
                                                 if (inside.fetch_add(1) != 0)
                                                     overlapped = true;
                                                 record(data, response, error);
                                                 inside.fetch_sub(1);
                                             });
        identifiers.insert(task->taskIdentifier());
        // The task keeps itself alive once resumed.
        task->resume();
    }
    EXPECT_EQ(identifiers.size(), static_cast<std::size_t>(taskCount));
    ASSERT_TRUE(outcomes.waitFor(taskCount));
    dispatch_sync(session->delegateQueue(), [] {});

    auto all = outcomes.all();
    ASSERT_EQ(all.size(), static_cast<std::size_t>(taskCount));
    EXPECT_FALSE(overlapped);
    std::set<int> tags;
    for (const auto& outcome : all) {
        EXPECT_TRUE(outcome.onDelegateQueue);
        EXPECT_FALSE(outcome.onMainThread);
        EXPECT_EQ(outcome.thread, all.front().thread) << "one serial queue, one thread";
        // Each handler gets its own transfer's body.
        EXPECT_EQ(textOf(outcome.data), "echo " + std::to_string(outcome.tag));
        tags.insert(outcome.tag);
    }
    EXPECT_EQ(tags.size(), static_cast<std::size_t>(taskCount)) << "each handler exactly once";
}

TEST_F(URLSessionOverHTTP, CancellingEndsATaskOnceWithCancelled) {
    auto session = NSURLSession::sharedSession();
    URLSessionOutcomes outcomes;
    auto task = session->dataTaskWithURL(url("/stall"), outcomes.handler(session));
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Suspended);
    task->resume();
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Running);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return gate.waitingCount() == 1; }, 20s));

    task->cancel();
    // The worker may already have finished the cancellation by the time we look.
    auto stateAfterCancel = task->state();
    EXPECT_TRUE(stateAfterCancel == NSURLSessionTaskState::Canceling ||
                stateAfterCancel == NSURLSessionTaskState::Completed);
    ASSERT_TRUE(outcomes.waitFor(1));
    expectFailure(outcomes.first(), NSURLErrorCancelled);
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Completed);

    // Neither the server answering now nor a second cancel calls the handler again.
    task->cancel();
    task->resume();
    gate.open();
    auto later = fetch(session, "/stall");
    EXPECT_EQ(textOf(later.data), "late");
    EXPECT_EQ(outcomes.size(), 1u);

    // A task cancelled before it ever started completes the same way, without a request.
    int requestsBefore = requestCount;
    URLSessionOutcomes unstarted;
    auto idle = session->dataTaskWithURL(url("/hello"), unstarted.handler(session));
    idle->cancel();
    idle->resume();
    ASSERT_TRUE(unstarted.waitFor(1));
    dispatch_sync(session->delegateQueue(), [] {});
    EXPECT_EQ(unstarted.size(), 1u);
    expectFailure(unstarted.first(), NSURLErrorCancelled);
    EXPECT_TRUE(unstarted.first().onDelegateQueue);
    EXPECT_EQ(requestCount, requestsBefore);
}

TEST_F(URLSessionOverHTTP, AStalledTransferTimesOut) {
    auto outcome = fetch(sessionWith(1024, 300ms), "/stall");
    expectFailure(outcome, NSURLErrorTimedOut);
}

TEST_F(URLSessionOverHTTP, ABodyOverTheLimitIsAnErrorNotATruncatedSuccess) {
    auto session = sessionWith(1000);
    EXPECT_EQ(fetch(session, "/sized/1000").data->length(), 1000u);
    EXPECT_EQ(fetch(session, "/chunked/1000").data->length(), 1000u);
    // Announced too long, and found too long only while arriving.
    expectFailure(fetch(session, "/sized/1001"), NSURLErrorDataLengthExceedsMaximum);
    expectFailure(fetch(session, "/chunked/1001"), NSURLErrorDataLengthExceedsMaximum);
    expectFailure(fetch(session, "/chunked/50000"), NSURLErrorDataLengthExceedsMaximum);

    // The shared session has a limit too: 16 MiB.
    expectFailure(fetch(NSURLSession::sharedSession(), "/sized/16777217"),
                  NSURLErrorDataLengthExceedsMaximum);
}

TEST_F(URLSessionOverHTTP, RedirectsAreFollowedUpToALimit) {
    auto session = NSURLSession::sharedSession();
    auto landed = fetch(session, "/hop/5");
    ASSERT_FALSE(landed.error) << landed.error->description();
    ASSERT_TRUE(landed.response);
    EXPECT_EQ(landed.response->statusCode(), 200);
    EXPECT_EQ(textOf(landed.data), "landed");
    EXPECT_EQ(landed.response->URL()->absoluteString(), server.url("/hop/0"));
    // The headers are the last response's only.
    EXPECT_EQ(landed.response->valueForHTTPHeaderField("X-Final"), "yes");
    EXPECT_FALSE(landed.response->valueForHTTPHeaderField("X-Hop"));

    expectFailure(fetch(session, "/hop/6"), NSURLErrorHTTPTooManyRedirects);
}

TEST_F(URLSessionOverHTTP, ARedirectAwayFromHTTPSOrLoopbackFailsBeforeConnecting) {
    auto session = NSURLSession::sharedSession();
    // Not NSURLErrorCannotFindHost: the name is never looked up.
    expectFailure(fetch(session, "/away"), NSURLErrorAppTransportSecurityRequiresSecureConnection);
    expectFailure(fetch(session, "/ftp"), NSURLErrorUnsupportedURL);
}

TEST_F(URLSessionOverHTTP, DataWithContentsOfURLDownloadsUnderTheSameRules) {
    NSErrorPtr error;
    auto data = NSData::dataWithContentsOfURL(url("/hello"), &error);
    ASSERT_TRUE(data) << error->description();
    EXPECT_EQ(data->stringValue(), binaryBody());
    EXPECT_EQ(textOf(NSData::dataWithContentsOfURL(url("/hop/3"))), "landed");
    EXPECT_EQ(textOf(NSData::dataWithContentsOfURL(url("/missing"))), "no such thing");

    URLSessionRefusedPort refused;
    EXPECT_FALSE(NSData::dataWithContentsOfURL(NSURL::URLWithString(refused.url("/x")), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), NSURLErrorDomain);
    EXPECT_EQ(error->code(), NSURLErrorCannotConnectToHost);

    error = nullptr;
    EXPECT_FALSE(
        NSData::dataWithContentsOfURL(NSURL::URLWithString("http://corvale-test.invalid/x"), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), NSURLErrorAppTransportSecurityRequiresSecureConnection);
}
