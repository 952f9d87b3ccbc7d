#pragma once

#include "Auxiliary/BaseView.h"

class RkLabel;
class SpinnerView;

// What the main window shows while the installed applications are being discovered.
class RkLoadAppView : public BaseView {
    Q_OBJECT
public:
    explicit RkLoadAppView(QWidget* parent = nullptr);

    RkLabel* lbTitle = nullptr;
    RkLabel* lbMessage = nullptr;
    SpinnerView* spinner = nullptr;

protected:
    void addSubViews() override;
    void addConstraints() override;
};
