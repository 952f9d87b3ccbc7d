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
// buttons wait; then the panel says what was removed and what is left, with "Done", and "Put Back"
// while the Trash holds what went there. The headline is also the panel's window title.
class RemainsPanelView : public RoundedPanel {
    Q_OBJECT

public:
    // At least; wider when the buttons' words need it.
    static constexpr int panelWidth = 380;
    static constexpr int iconSize = 48;

    RemainsPanelView(std::vector<RemovedApplication> applications, std::function<void()> onRemove,
                     std::function<void()> onReview, std::function<void()> onNotNow, QWidget* parent = nullptr);

    const std::vector<RemovedApplication>& applications() const { return applications_; }
    QString headline() const;
    QString message() const;

    // The buttons give way to a line saying the remains are being removed.
    void showRemoving();
    // What was removed and what is left; "Done" runs onNotNow, "Put Back" (shown when the outcome
    // has a record of items in the Trash) runs the action set here.
    void showOutcome(const RemainsRemoval::Outcome& outcome);
    void setOnPutBack(std::function<void()> onPutBack) { onPutBack_ = std::move(onPutBack); }
    // The buttons wait while the items go back.
    void showPuttingBack();
    // What came back and what stayed away, with "Done".
    void showPutBack(const PutBack::Report& report);

    // "Doc, Quill and 2 more"
    static QString listOfNames(const std::vector<RemovedApplication>& applications);

private:
    // The panel's applications: the one name, or how many.
    QString who() const;
    void setHeadline(const QString& text);
    void fitWidth(int margins);
    QWidget* makeButtonRow();
    QWidget* makeDoneRow();

    std::vector<RemovedApplication> applications_;
    std::function<void()> onRemove_;
    std::function<void()> onReview_;
    std::function<void()> onNotNow_;
    std::function<void()> onPutBack_;
    QLabel* headline_ = nullptr;
    QLabel* message_ = nullptr;
    QWidget* buttons_ = nullptr;
    QWidget* done_ = nullptr;
};
