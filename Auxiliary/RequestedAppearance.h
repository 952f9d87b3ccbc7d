#pragma once

// The desktop decides light or dark through its palette. OSTROVA_APPEARANCE=dark|light picks one
// where no desktop theme does (a bare X server, screenshots). Call after the QApplication exists.
void applyRequestedAppearance();
