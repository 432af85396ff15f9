// Feeds arbitrary bytes to the credits answer reader and, when it takes them, maps every credit to
// what its row shows: one option per service entry with its title and links, and each link row's
// title and address. Nothing may fail, and a usable answer always has its string hash.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/foundation/NSData.h"
#include "platform/foundation/NSURL.h"
#include "settings/credits/CreditServiceEntry.h"
#include "settings/credits/CreditsAnswer.h"

namespace {

void mapCredit(const Value& person) {
    if (!person.isDictionary())
        return;
    person["name"].stringValue();
    person["position"].stringValue();
    const Value& services = person["services"];
    if (!services.isArray())
        return;
    for (const Value& entry : services.asArray()) {
        auto option = corvale::creditOptionForServiceEntry(entry);
        if (!option)
            __builtin_trap();
        auto title = option->getActionTitle();
        auto links = option->getLinks();
        if (title.has_value() != links.has_value())
            __builtin_trap();
        if (links)
            for (const auto& link : *links)
                if (!link)
                    __builtin_trap();
    }
}

void mapLink(const Value& entry) {
    if (!entry.isDictionary() || !entry["title"].isString() || !entry["url"].isString())
        return;
    NSURL::URLWithString(entry["url"].asString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto body = NSData::dataWithBytes(data, size);
    auto answer = corvale::CreditsAnswer::read(body, nullptr);
    if (!answer.usable) {
        if (answer.object.isDictionary() && !answer.object.asDictionary().empty())
            __builtin_trap();
        return 0;
    }
    if (!answer.object["hash"].isString() || answer.object["hash"].asString() != answer.hash)
        __builtin_trap();
    for (const Value& person : answer.object["credits"].asArray())
        mapCredit(person);
    for (const Value& entry : answer.object["links"].asArray())
        mapLink(entry);
    return 0;
}
