#pragma once

#include "app/ui/FlowScreenController.h"

class UninstallingViewController : public FlowScreenController {
    Q_OBJECT
public:
    using FlowScreenController::FlowScreenController;
};
