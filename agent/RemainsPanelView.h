#pragma once

#include "agent/RemainsRemoval.h"
#include "agent/RemovedApplication.h"
#include "agent/RoundedPanel.h"

#include <functional>
#include <vector>

class QLabel;
class QPushButton;

// The panel offering what applications the user took to the Trash left behind: the first one's
// icon, a headline with the name (or the count) and the bytes of the remains, what happened, and
// "Remove remains" (Return), "Review" (Alt+R) and "Not now" (Escape). While the remains go the
// buttons wait; then the panel says what was removed and what is left, with "Done". The headline is
// also the panel's window title.
class RemainsPanelView : public RoundedPanel {
    Q_OBJECT

public:
    static constexpr int panelWidth = 380;
    static constexpr int iconSize = 48;

    RemainsPanelView(std::vector<RemovedApplication> applications, std::function<void()> onRemove,
                     std::function<void()> onReview, std::function<void()> onNotNow, QWidget* parent = nullptr);

    const std::vector<RemovedApplication>& applications() const { return applications_; }
    QString headline() const;
    QString message() const;

    // The buttons give way to a line saying the remains are being removed.
    void showRemoving();
    // What was removed and what is left; "Done" runs onNotNow.
    void showOutcome(const RemainsRemoval::Outcome& outcome);

    // "Doc, Quill and 2 more"
    static QString listOfNames(const std::vector<RemovedApplication>& applications);

private:
    void setHeadline(const QString& text);
    QWidget* makeButtonRow();
    QWidget* makeDoneRow();

    std::vector<RemovedApplication> applications_;
    std::function<void()> onRemove_;
    std::function<void()> onReview_;
    std::function<void()> onNotNow_;
    QLabel* headline_ = nullptr;
    QLabel* message_ = nullptr;
    QWidget* buttons_ = nullptr;
    QWidget* done_ = nullptr;
};
