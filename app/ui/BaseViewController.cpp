#include "app/ui/BaseViewController.h"

#include "Auxiliary/Appearance.h"

#include <QApplication>
#include <QEvent>

BaseViewController::BaseViewController(QObject* parent) : QObject(parent) {}

BaseViewController::~BaseViewController()
{
    // A view without a parent widget is ours to delete; one placed in a window goes with it.
    if (view_ && !view_->parentWidget())
        delete view_;
}

QWidget* BaseViewController::view()
{
    if (!view_) {
        loadView();
        viewDidLoad();
    }
    return view_;
}

void BaseViewController::setView(QWidget* view)
{
    view_ = view;
}

void BaseViewController::loadView()
{
    setView(new QWidget);
}

void BaseViewController::viewDidLoad()
{
    addSubViews();
    addConstraints();
    lastDark_ = appearance::isDark();
    updateAppearance(lastDark_);
    // The observation ends with this object: a filter is removed when its object is destroyed.
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

bool BaseViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ApplicationPaletteChange && watched == QCoreApplication::instance()) {
        const bool dark = appearance::isDark();
        if (dark != lastDark_) {
            lastDark_ = dark;
            updateAppearance(dark);
        }
    }
    return QObject::eventFilter(watched, event);
}
