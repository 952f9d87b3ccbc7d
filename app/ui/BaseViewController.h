#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// The base of every screen controller. The view is made on first use of view(): loadView creates a
// plain widget, then addSubViews, addConstraints and updateAppearance run in that order, and
// updateAppearance runs again whenever the desktop's palette turns light or dark. Main thread only.
class BaseViewController : public QObject {
    Q_OBJECT
public:
    explicit BaseViewController(QObject* parent = nullptr);
    ~BaseViewController() override;

    QWidget* view();
    bool isViewLoaded() const { return view_ != nullptr; }

protected:
    virtual void loadView();
    virtual void viewDidLoad();
    virtual void addSubViews() {}
    virtual void addConstraints() {}
    virtual void updateAppearance(bool isDark) { (void)isDark; }
    void setView(QWidget* view);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> view_;
    bool lastDark_ = false;
};
