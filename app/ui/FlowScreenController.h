#pragma once

#include "app/ui/BaseViewController.h"

// A screen of the uninstall flow stacked in the main window. Whoever switches screens sets isHidden
// first and then the view's hidden state to the same value.
class FlowScreenController : public BaseViewController {
    Q_OBJECT
public:
    using BaseViewController::BaseViewController;

    bool isHidden = true;
    // Sets isHidden, then hides or shows the view.
    void setScreenHidden(bool hidden);

protected:
    // The flow screens' background and text colours, as the list's.
    void paintScreenBackground(bool isDark);
};
