// Feeds arbitrary bytes to the follow alert's building, as a downloaded manifest reaches it: JSON,
// the acceptance check, the alert and its header with the name cloud laid out and run for a few
// frames. Nothing may crash, and the texts drawn stay within the alert's bounds. The header's
// pictures are left out: this target never touches the network.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "followprompt/alert/MerrowManifest.h"
#include "followprompt/alert/ZRMerrowAlertController.h"
#include "followprompt/alert/ZRMerrowAlertHeaderAnimatedBackgroundView.h"
#include "followprompt/alert/ZRMerrowAlertHeaderViewController.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "platform/uikit/NSAttributedString.h"

namespace {

std::size_t characters(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char byte : text)
        count += (byte & 0xC0) != 0x80;
    return count;
}

void runHeader(const std::shared_ptr<ZRMerrowAlertController>& alert) {
    auto header =
        std::dynamic_pointer_cast<ZRMerrowAlertHeaderViewController>(alert->_headerContentViewController());
    if (!header)
        return;
    auto view = header->view();
    view->setFrame(CGRectMake(0, 0, 270, 140));
    view->layoutIfNeeded();
    header->viewDidLayoutSubviews();
    if (auto cloud = header->animatedBackgroundView()) {
        cloud->spawnInitialItemsAnimated(false);
        for (int frame = 0; frame < 3; ++frame)
            cloud->tick();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto manifest =
        NSJSONSerialization::JSONObjectWithData(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!manifest || !merrow::isAcceptableManifest(*manifest))
        return 0;
    if ((*manifest)["header"].isDictionary()) {
        Value header = (*manifest)["header"];
        header.set("foreground_images", Value::dictionary());
        manifest->set("header", header);
    }
    auto alert = ZRMerrowAlertController::merrowAlertControllerWithManifest(*manifest);
    if (!alert)
        __builtin_trap();
    // The cut texts, each at most its limit and an ellipsis; the message holds body and footer.
    if (characters(alert->title()) > 201)
        __builtin_trap();
    auto message = alert->_attributedMessage();
    if (!message || characters(message->string()) > 2 * 2001 + 2)
        __builtin_trap();
    alert->isAllowedToShowBasedOnManifest();
    runHeader(alert);
    return 0;
}
