#include "followprompt/hooks/MerrowHooks.h"

// Runs when the substitution loader opens the library inside SpringBoard.
__attribute__((constructor)) static void merrowLibraryDidLoad() {
    merrow::loadIntoSpringBoard();
}
