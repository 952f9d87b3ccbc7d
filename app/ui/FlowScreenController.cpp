#include "app/ui/FlowScreenController.h"

void FlowScreenController::setScreenHidden(bool hidden)
{
    isHidden = hidden;
    view()->setHidden(hidden);
}
