// Parses arbitrary bytes as a predicate format. Whatever parses must evaluate, render, and render to
// something that parses back to a predicate with the same rendering and the same answer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/foundation/NSPredicate.h"

namespace {

const Value& versionObject() {
    static const Value object = Value::dictionary({
        {"major", 13},
        {"minor", 4},
        {"patch", 1},
        {"scale", 2.5},
        {"name", "iPhone"},
        {"beta", false},
        {"device", Value::dictionary({{"model", "iPhone12,1"}, {"cores", 6}})},
        {"supported", Value::array({12, 13, 14})},
    });
    return object;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view format(reinterpret_cast<const char*>(data), size);
    NSErrorPtr error;
    auto predicate = NSPredicate::predicateWithFormat(format, &error);
    if (!predicate) {
        if (!error)
            std::abort();
        return 0;
    }
    bool answer = predicate->evaluateWithObject(versionObject());
    std::string rendering = predicate->predicateFormat();
    auto reparsed = NSPredicate::predicateWithFormat(rendering);
    if (!reparsed || reparsed->predicateFormat() != rendering ||
        reparsed->evaluateWithObject(versionObject()) != answer)
        std::abort();
    return 0;
}
