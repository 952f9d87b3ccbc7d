#pragma once

#include "app/ui/FlowScreenController.h"

class UninstallResidualViewController : public FlowScreenController {
    Q_OBJECT
public:
    using FlowScreenController::FlowScreenController;
};
