#include "hosts/devserver/LookupStatus.h"

namespace corvale::devserver {

int httpStatusFor(LookupStatus status) {
    switch (status) {
    case LookupStatus::found:
        return 200;
    case LookupStatus::invalidName:
        return 400;
    case LookupStatus::notFound:
        return 404;
    case LookupStatus::unusable:
        return 500;
    }
    return 500;
}

} // namespace corvale::devserver
