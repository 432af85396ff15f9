// When a task counts as completed, how a process waits for handlers before it exits, per-task body
// caps, and which redirects may lead to loopback.
#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URLLoadingPolicy.h"
#include "tests/platform/foundation/URLSessionTestServer.h"

using namespace std::chrono_literals;
using platform::URLLoadingPolicy;

namespace {

class URLSessionCompletion : public testing::Test {
protected:
    void SetUp() override {
        server.routes().Get(
            R"(/bytes/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
                response.set_content(std::string(std::stoul(request.matches[1].str()), 'x'), "text/plain");
            });
        ASSERT_TRUE(server.start());
    }

    std::shared_ptr<NSURL> url(const std::string& path) const {
        return NSURL::URLWithString(server.url(path));
    }

    URLSessionTestServer server;
};

// A handler that says it has started and then waits until the test lets it finish.
struct HeldHandler {
    std::promise<void> started;
    std::promise<void> release;
    std::atomic<bool> finished{false};

    NSURLSession::CompletionHandler handler() {
        return [this](std::shared_ptr<NSData>, std::shared_ptr<NSHTTPURLResponse>, NSErrorPtr) {
            started.set_value();
            release.get_future().wait_for(20s);
            finished = true;
        };
    }
};

} // namespace

TEST_F(URLSessionCompletion, ATaskIsCompletedOnlyOnceItsHandlerHasReturned) {
    auto session =
        NSURLSession::sessionWithConfiguration(platform::URLSessionConfiguration::defaultConfiguration());
    HeldHandler held;
    auto task = session->dataTaskWithURL(url("/bytes/10"), held.handler());
    task->resume();
    ASSERT_EQ(held.started.get_future().wait_for(20s), std::future_status::ready);
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Running) << "the handler is still at work";
    // Too late to cancel: the answer is being handled.
    task->cancel();
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Running);

    held.release.set_value();
    ASSERT_TRUE(session->drainDelegateQueue(20s));
    EXPECT_TRUE(held.finished);
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Completed);
}

TEST_F(URLSessionCompletion, DrainingWaitsForQueuedHandlersWithinItsBound) {
    auto session =
        NSURLSession::sessionWithConfiguration(platform::URLSessionConfiguration::defaultConfiguration());
    HeldHandler held;
    session->dataTaskWithURL(url("/bytes/10"), held.handler())->resume();
    ASSERT_EQ(held.started.get_future().wait_for(20s), std::future_status::ready);
    EXPECT_FALSE(session->drainDelegateQueue(50ms)) << "the bound ends the wait";
    EXPECT_FALSE(held.finished);

    std::thread releaser([&] {
        std::this_thread::sleep_for(100ms);
        held.release.set_value();
    });
    EXPECT_TRUE(session->drainDelegateQueue(20s));
    EXPECT_TRUE(held.finished) << "drained only after the handler had finished";
    releaser.join();
}

TEST_F(URLSessionCompletion, ATaskCapsItsBodyBelowTheSessionsButNeverAbove) {
    auto configuration = platform::URLSessionConfiguration::defaultConfiguration();
    configuration.maximumBodyLength = 2000;
    auto session = NSURLSession::sessionWithConfiguration(configuration);

    auto fetch = [&](const std::string& path, std::size_t cap) {
        auto outcome = std::make_shared<std::promise<std::pair<std::size_t, std::int64_t>>>();
        auto future = outcome->get_future();
        session
            ->dataTaskWithURL(url(path), cap,
                              [outcome](std::shared_ptr<NSData> data, std::shared_ptr<NSHTTPURLResponse>,
                                        NSErrorPtr error) {
                                  outcome->set_value({data ? data->length() : 0, error ? error->code() : 0});
                              })
            ->resume();
        EXPECT_EQ(future.wait_for(20s), std::future_status::ready);
        return future.get();
    };
    EXPECT_EQ(fetch("/bytes/1000", 1000), std::make_pair(std::size_t{1000}, std::int64_t{0}));
    EXPECT_EQ(fetch("/bytes/1001", 1000).second, NSURLErrorDataLengthExceedsMaximum);
    // A cap above the session's does not lift the session's.
    EXPECT_EQ(fetch("/bytes/2001", 1024 * 1024).second, NSURLErrorDataLengthExceedsMaximum);
}

TEST(URLRedirectPolicy, OnlyALoopbackOriginMayLeadToLoopback) {
    const std::string remote = "https://credits.example.org/credits/Corvale";
    for (const char* target : {"http://127.0.0.1/admin", "https://127.0.0.1:8443/", "https://localhost/",
                               "http://[::1]:80/", "https://127.4.5.6/"})
        EXPECT_EQ(URLLoadingPolicy::redirectRejectionCode(remote, target), NSURLErrorBadServerResponse)
            << target;
    EXPECT_EQ(URLLoadingPolicy::redirectRejectionCode(remote, "https://mirror.example.org/credits"),
              std::nullopt);
    EXPECT_EQ(URLLoadingPolicy::redirectRejectionCode("http://127.0.0.1:8080/a", "http://localhost:9090/b"),
              std::nullopt);
    // The rules for any URL still apply.
    EXPECT_EQ(URLLoadingPolicy::redirectRejectionCode(remote, "http://mirror.example.org/"),
              NSURLErrorAppTransportSecurityRequiresSecureConnection);
}
