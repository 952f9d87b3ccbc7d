#include "app/ui/FlowScreenController.h"

#include "Auxiliary/Appearance.h"

void FlowScreenController::setScreenHidden(bool hidden)
{
    isHidden = hidden;
    view()->setHidden(hidden);
}

void FlowScreenController::paintScreenBackground(bool isDark)
{
    QPalette palette = view()->palette();
    palette.setColor(QPalette::Window, isDark ? appearance::colorFromHex("2F2F2D") : QColor(Qt::white));
    palette.setColor(QPalette::WindowText, isDark ? QColor(Qt::white) : appearance::colorFromHex("333333"));
    view()->setPalette(palette);
    view()->setAutoFillBackground(true);
}
