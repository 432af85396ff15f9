#pragma once

#include <cstddef>
#include <string>

namespace corvale::springboardhost {

// One thing that happens to SpringBoard, in the order the command line gives them.
struct SpringBoardStep {
    enum class Kind { launch, waitManifest, unlock, dump, frames, tap, render, record, restart };

    Kind kind = Kind::dump;
    // The action title of `tap`, the file of `render` and `record`.
    std::string operand;
    // The length of `record`, in seconds.
    double seconds = 0;
    // The count of `frames`.
    long count = 0;
    // The arguments the step was read from: [firstArgument, endArgument).
    std::size_t firstArgument = 0;
    std::size_t endArgument = 0;
};

} // namespace corvale::springboardhost
