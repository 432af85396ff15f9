#pragma once

namespace platform::layout {

// How a constraint's expression compares with zero.
enum class Relation { LessOrEqual, Equal, GreaterOrEqual };

} // namespace platform::layout
