#include "Auxiliary/BaseView.h"

BaseView::BaseView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground, true);
}

void BaseView::setup()
{
    addSubViews();
    addConstraints();
}
