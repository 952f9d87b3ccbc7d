#pragma once

#include "Auxiliary/BaseView.h"

#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QToolButton;
class RkLabel;

// One folder panel of the authorisation window: icon, title, tip, a reveal button and the button
// that asks for the grant.
class RkContainerView : public BaseView {
    Q_OBJECT
public:
    explicit RkContainerView(QWidget* parent = nullptr);

    std::optional<std::string> url;
    QLabel* icon = nullptr;
    QPushButton* btnAuthorize = nullptr;
    QToolButton* btnLook = nullptr;
    RkLabel* lbTip = nullptr;
    RkLabel* lbTitle = nullptr;

    // Reveals the panel's folder in the file manager.
    void look_click();
    void updateAppearance(bool isDark);

protected:
    void addSubViews() override;
    void addConstraints() override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor background_;
};
