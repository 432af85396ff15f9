#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/foundation/NSLog.h"

TEST(NSLog, CapturesRecordFormattedLinesWhileTheyLive) {
    platform::LogCapture outer;
    NSLog("value %d of %s", 3, "things");
    {
        platform::LogCapture inner;
        NSLog("ends with a newline\n");
        platform::logMessage("100% literal");
        EXPECT_EQ(inner.lines(), (std::vector<std::string>{"ends with a newline", "100% literal"}));
    }
    NSLog("after");
    EXPECT_EQ(outer.lines(), (std::vector<std::string>{"value 3 of things", "ends with a newline",
                                                       "100% literal", "after"}));
    EXPECT_TRUE(outer.contains("of thing"));
    EXPECT_FALSE(outer.contains("absent"));
}

TEST(NSLog, LinesFromManyThreadsStayWhole) {
    platform::LogCapture log;
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 4; ++thread) {
        threads.emplace_back([thread] {
            for (int line = 0; line < 100; ++line)
                NSLog("thread %d line %d", thread, line);
        });
    }
    for (auto& thread : threads)
        thread.join();
    auto lines = log.lines();
    ASSERT_EQ(lines.size(), 400u);
    std::vector<int> next(4, 0);
    for (const auto& line : lines) {
        int thread = -1;
        int number = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "thread %d line %d", &thread, &number), 2) << line;
        ASSERT_EQ(number, next[static_cast<std::size_t>(thread)]++) << "each thread's lines keep their order";
    }
}

TEST(NSLog, WritesOneLineToStandardErrorWithTheProgramAndProcess) {
    char path[] = "/tmp/nslog-test-XXXXXX";
    int file = mkstemp(path);
    ASSERT_GE(file, 0);
    std::fflush(stderr);
    int savedStderr = dup(STDERR_FILENO);
    dup2(file, STDERR_FILENO);
    NSLog("hello %s", "stderr");
    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    close(file);

    std::ifstream written(path);
    std::stringstream contents;
    contents << written.rdbuf();
    std::remove(path);
    EXPECT_EQ(contents.str(), std::string(program_invocation_short_name) + "[" + std::to_string(getpid()) +
                                  "] hello stderr\n");
}
