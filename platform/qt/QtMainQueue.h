#pragma once

namespace platform {

// Makes the Qt event loop the main queue: tasks given to dispatch::MainQueue run on the thread of
// the QApplication, in order. Call once the application object exists.
void installQtMainQueue();

}  // namespace platform
