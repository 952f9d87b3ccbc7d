#pragma once

// Makes the folder-access gate's open panel a folder dialog run modally on the main thread.
void installOpenPanelRunner();
