#pragma once

namespace platform::layout {

// What the solver's editing calls report instead of throwing. In every case but Added / Removed /
// Done the solver is left as it was before the call.
enum class AddResult {
    Added,
    Duplicate,     // this very constraint is already in the solver
    Unsatisfiable, // a required constraint that conflicts with the required ones already there
    Failed,        // not finite, or the simplex could not settle (numerical trouble); left out
};

enum class RemoveResult {
    Removed,
    Unknown, // not in the solver
    Failed,
};

enum class EditResult {
    Done,
    Duplicate,        // the variable already is an edit variable
    Unknown,          // the variable is not an edit variable
    RequiredStrength, // edit variables must be weaker than required
    Failed,           // a suggestion that is not finite, or numerical trouble
};

const char* describe(AddResult result);
const char* describe(RemoveResult result);
const char* describe(EditResult result);

} // namespace platform::layout
