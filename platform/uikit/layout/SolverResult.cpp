#include "platform/uikit/layout/SolverResult.h"

namespace platform::layout {

const char* describe(AddResult result) {
    switch (result) {
    case AddResult::Added:
        return "added";
    case AddResult::Duplicate:
        return "duplicate constraint";
    case AddResult::Unsatisfiable:
        return "unsatisfiable constraint";
    case AddResult::Failed:
        break;
    }
    return "solver failure";
}

const char* describe(RemoveResult result) {
    switch (result) {
    case RemoveResult::Removed:
        return "removed";
    case RemoveResult::Unknown:
        return "unknown constraint";
    case RemoveResult::Failed:
        break;
    }
    return "solver failure";
}

const char* describe(EditResult result) {
    switch (result) {
    case EditResult::Done:
        return "done";
    case EditResult::Duplicate:
        return "duplicate edit variable";
    case EditResult::Unknown:
        return "unknown edit variable";
    case EditResult::RequiredStrength:
        return "edit variables cannot be required";
    case EditResult::Failed:
        break;
    }
    return "solver failure";
}

} // namespace platform::layout
