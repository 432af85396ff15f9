#include "platform/foundation/CurlLibrary.h"

#include <curl/curl.h>
#include <mutex>

#include "platform/foundation/NSLog.h"

namespace platform {

void initializeCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT); code != CURLE_OK)
            NSLog("libcurl could not be initialised: %s", curl_easy_strerror(code));
    });
}

} // namespace platform
