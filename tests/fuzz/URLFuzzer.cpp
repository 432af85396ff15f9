// Feeds arbitrary text to the URL parser and to percent-encoding. What parses must keep its string,
// parse the same way again, and survive the path operations; encoding must always decode back and
// give text that the encoded part accepts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/foundation/NSURL.h"
#include "platform/foundation/PercentEncoding.h"

using platform::PercentEncoding;

namespace {

void checkEncoding(std::string_view text) {
    for (auto set :
         {PercentEncoding::Allowed::UserInfo, PercentEncoding::Allowed::Host, PercentEncoding::Allowed::Path,
          PercentEncoding::Allowed::Query, PercentEncoding::Allowed::Unreserved}) {
        std::string encoded = PercentEncoding::encode(text, set);
        if (!PercentEncoding::isValid(encoded, set) || PercentEncoding::decode(encoded) != text)
            __builtin_trap();
    }
}

void checkURL(std::string_view text) {
    auto url = NSURL::URLWithString(text);
    if (!url)
        return;
    if (url->absoluteString() != text)
        __builtin_trap();
    auto again = NSURL::URLWithString(url->absoluteString());
    if (!again || again->host() != url->host() || again->path() != url->path() ||
        again->query() != url->query() || again->port() != url->port())
        __builtin_trap();
    url->lastPathComponent();
    url->pathExtension();
    url->user();
    url->password();
    if (auto appended = url->URLByAppendingPathComponent("hash");
        appended && !NSURL::URLWithString(appended->absoluteString()))
        __builtin_trap();
    if (auto parent = url->URLByDeletingLastPathComponent();
        parent && !NSURL::URLWithString(parent->absoluteString()))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    checkURL(text);
    checkEncoding(text);
    if (auto file = NSURL::fileURLWithPath(text); file && !NSURL::URLWithString(file->absoluteString()))
        __builtin_trap();
    return 0;
}
