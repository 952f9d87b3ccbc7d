#pragma once

#include "app/ui/FlowScreenController.h"

class UninstallCompletedViewController : public FlowScreenController {
    Q_OBJECT
public:
    using FlowScreenController::FlowScreenController;
};
