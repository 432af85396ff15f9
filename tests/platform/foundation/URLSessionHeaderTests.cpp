#include <gtest/gtest.h>

#include "platform/foundation/HTTPHeaderCollector.h"
#include "platform/foundation/NSHTTPURLResponse.h"

using platform::HTTPHeaderCollector;
using Fields = NSHTTPURLResponse::HeaderFields;

TEST(URLSessionHeaders, OnlyTheLastResponseOfAChainIsKeptWithNamesAsSent) {
    HTTPHeaderCollector collector;
    for (const char* line : {"HTTP/1.1 100 Continue\r\n", "\r\n", "HTTP/1.1 302 Found\r\n",
                             "Location: /next\r\n", "X-Hop: 1\r\n", "\r\n", "HTTP/1.1 200 OK\r\n",
                             "Content-Type: application/json\r\n", "x-asset-HASH:   abc  \r\n", "\r\n"})
        collector.addLine(line);
    EXPECT_EQ(collector.fields(), (Fields{{"Content-Type", "application/json"}, {"x-asset-HASH", "abc"}}));
}

TEST(URLSessionHeaders, RepeatedAndFoldedFieldsJoinTheirValues) {
    HTTPHeaderCollector collector;
    for (const char* line :
         {"HTTP/1.0 200 OK", "Vary: Accept", "Cache-Control: no-cache", "vary: Origin", "X-Long: first",
          " second\t", "\tthird", "garbage line", "  lost continuation", ": no name", "Empty:"})
        collector.addLine(line);
    EXPECT_EQ(collector.fields(), (Fields{{"Vary", "Accept, Origin"},
                                          {"Cache-Control", "no-cache"},
                                          {"X-Long", "first second third"},
                                          {"Empty", ""}}));

    // A line folded under a repeated name continues that field, wherever it stands.
    HTTPHeaderCollector repeated;
    for (const char* line : {"A: 1", "B: 2", "a: 3", " more"})
        repeated.addLine(line);
    EXPECT_EQ(repeated.takeFields(), (Fields{{"A", "1, 3 more"}, {"B", "2"}}));
    EXPECT_TRUE(repeated.fields().empty());
}

TEST(URLSessionHeaders, LookupIgnoresLetterCaseButNothingElse) {
    NSHTTPURLResponse response(nullptr, 200, {{"Content-Type", "text/plain"}, {"X-Asset-Hash", "h"}});
    EXPECT_EQ(response.valueForHTTPHeaderField("content-type"), "text/plain");
    EXPECT_EQ(response.valueForHTTPHeaderField("X-ASSET-HASH"), "h");
    EXPECT_FALSE(response.valueForHTTPHeaderField("Content-Typ"));
    EXPECT_FALSE(response.valueForHTTPHeaderField("Content-Type "));
    EXPECT_FALSE(response.valueForHTTPHeaderField(""));
}
