#pragma once

// Progress states reported during scans and removals.
enum UninstallType : int {
    eOnScan = 0,
    eScanning = 1,
    eDeleting = 2,
    eOnDelete = 3,
    eScanCompleted = 4,
    eDeleteCompleted = 5,
    eOnClear = 6,
};
