#pragma once

namespace corvale::devserver {

// How a request for one piece of content ended; the routes turn it into an HTTP status.
enum class LookupStatus {
    found,
    invalidName, // the name can never name content (400)
    notFound,    // a fine name, but nothing by that name (404)
    unusable,    // the file exists but cannot be read or is malformed (500)
};

int httpStatusFor(LookupStatus status);

} // namespace corvale::devserver
