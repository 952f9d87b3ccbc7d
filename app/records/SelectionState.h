#pragma once

// Check-box values as the platform gives them.
enum SelectionState : int {
    kSelectionMixed = -1,
    kSelectionOff = 0,
    kSelectionOn = 1,
};
