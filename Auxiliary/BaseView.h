#pragma once

#include <QWidget>

#include <utility>

// The base of the application's own panels and rows. A subclass builds itself in addSubViews and
// lays itself out in addConstraints; make() runs both once the object is complete (a constructor
// cannot call a subclass's overrides).
class BaseView : public QWidget {
    Q_OBJECT
public:
    explicit BaseView(QWidget* parent = nullptr);

    template <typename View, typename... Args>
    static View* make(Args&&... args)
    {
        auto* view = new View(std::forward<Args>(args)...);
        view->setup();
        return view;
    }

    void setup();

protected:
    virtual void addSubViews() {}
    virtual void addConstraints() {}
};
