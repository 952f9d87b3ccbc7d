// The framework's custom views on real widgets.
#include "Auxiliary/BaseView.h"
#include "Auxiliary/NSScrollViewDragDelegate.h"
#include "Auxiliary/OverlayScrollView.h"
#include "Auxiliary/OverlayScroller.h"
#include "Auxiliary/RkLabel.h"
#include "Auxiliary/RkRecoveryButton.h"
#include "Auxiliary/RkSlider.h"
#include "Auxiliary/ViewHelpers.h"

#include <QApplication>
#include <QMimeData>
#include <QPropertyAnimation>
#include <QSet>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

namespace {

class RecordingView : public BaseView {
public:
    QStringList calls;
protected:
    void addSubViews() override { calls << "addSubViews"; }
    void addConstraints() override { calls << "addConstraints"; }
};

class RecordingDragDelegate : public NSScrollViewDragDelegate {
public:
    int entered = 0, exited = 0, performed = 0;
    bool accept = true;
    Qt::DropAction dragEnter(QDragEnterEvent*) override { ++entered; return accept ? Qt::CopyAction : Qt::IgnoreAction; }
    void dragExit(QDragLeaveEvent*) override { ++exited; }
    bool performDragOperation(QDropEvent*) override { ++performed; return accept; }
};

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void baseViewRunsItsHooksInOrderAndLabelDoesNotFlashForTheSameText()
    {
        auto* view = BaseView::make<RecordingView>();
        QCOMPARE(view->calls, (QStringList{"addSubViews", "addConstraints"}));
        delete view;

        RkLabel label("Ostrova");
        QCOMPARE(label.textInteractionFlags(), Qt::NoTextInteraction);
        QCOMPARE(label.frameShape(), QFrame::NoFrame);
        label.setStringValue("Ostrova", true, 0.2);
        QVERIFY(!label.isAnimating());

        label.setStringValue("2 application(s) selected", true, 0.2);
        QVERIFY(label.isAnimating());
        QCOMPARE(label.text(), QStringLiteral("Ostrova"));  // swapped at the dark point of the fade
        label.setStringValue("2 application(s) selected", true, 0.2);  // the same again: no restart
        QTRY_VERIFY(!label.isAnimating());
        QCOMPARE(label.text(), QStringLiteral("2 application(s) selected"));

        label.setStringValue("now", false);
        QCOMPARE(label.text(), QStringLiteral("now"));
    }

    // The overlay scroller takes no room, shows while scrolling then fades, and goes when there is
    // nothing to scroll.
    void overlayScrollerShowsWhileScrollingThenFadesAndTakesNoRoom()
    {
        auto* content = new QWidget;
        content->setMinimumSize(100, 2000);
        auto* view = views::makeScrollView(content, nullptr);
        view->resize(300, 200);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QTRY_COMPARE(content->width(), view->viewport()->width());
        QCOMPARE(view->viewport()->width(), view->width());
        const QRect bar = view->scroller()->geometry();
        QCOMPARE(bar.right(), view->viewport()->geometry().right());
        QCOMPARE(bar.height(), view->viewport()->height());
        OverlayScroller* scroller = view->scroller();
        scroller->fadeOutDelay = 100;
        QTRY_VERIFY(scroller->maximum() > 0);
        QVERIFY(scroller->isVisible());
        QCOMPARE(scroller->alpha(), 0.0);

        view->verticalScrollBar()->setValue(300);
        QCOMPARE(scroller->value(), 300);
        QCOMPARE(scroller->alpha(), 1.0);
        QTRY_COMPARE(scroller->alpha(), 0.0);

        scroller->setValue(600);  // dragging the overlay scrolls the content
        QCOMPARE(view->verticalScrollBar()->value(), 600);

        content->setMinimumSize(100, 50);  // nothing to scroll: no scroller
        QTRY_VERIFY(!view->scroller()->isVisible());
        QVERIFY(OverlayScroller::isCompatibleWithOverlayScrollers(&OverlayScroller::staticMetaObject));
        QVERIFY(!OverlayScroller::isCompatibleWithOverlayScrollers(&QScrollBar::staticMetaObject));
        delete view;
    }

    void dragsReachTheDelegate()
    {
        RecordingDragDelegate delegate;
        QTreeWidget tree;
        views::makeScrollView(&tree, &delegate);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile("/Applications/Notes.app")});

        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &enter);
        QCOMPARE(delegate.entered, 1);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &drop);
        QCOMPARE(delegate.performed, 1);
        QVERIFY(drop.isAccepted());

        delegate.accept = false;
        QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &refused);
        QVERIFY(!refused.isAccepted());

        OverlayScrollView bare;  // without a delegate a drag is taken as it comes
        QDragEnterEvent plain(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bare.viewport(), &plain);
        QVERIFY(plain.isAccepted());
    }

    void recoveryButtonOpensItsMenuFromTheDropDownPart()
    {
        RkRecoveryButton button("Restore");
        button.menuImage = QApplication::style()->standardIcon(QStyle::SP_ArrowDown);
        button.resize(160, 30);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QSignalSpy clicked(&button, &QPushButton::clicked);
        QSignalSpy menu(&button, &RkRecoveryButton::menuRequested);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(150, 15));
        QCOMPARE(menu.count(), 1);
        QCOMPARE(clicked.count(), 0);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(20, 15));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(menu.count(), 1);
        QVERIFY(button.sizeHint().width() >= 120);
    }

    void sliderColourFollowsTheAppearanceAndShakeComesBack()
    {
        RkSlider slider;
        QPalette dark;
        dark.setColor(QPalette::Window, Qt::black);
        dark.setColor(QPalette::WindowText, Qt::white);
        slider.setPalette(dark);
        QCOMPARE(slider.currentColor(), slider.darkColor);
        QPalette light;
        light.setColor(QPalette::Window, Qt::white);
        light.setColor(QPalette::WindowText, Qt::black);
        slider.setPalette(light);
        QCOMPARE(slider.currentColor(), slider.lightColor);

        QWidget window;
        window.resize(200, 100);
        auto* field = new QWidget(&window);
        field->setGeometry(50, 40, 80, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        views::shake(field);
        QSet<int> seen;
        QTRY_VERIFY((seen.insert(field->x()), seen.size() >= 3));
        QVERIFY(std::all_of(seen.begin(), seen.end(), [](int x) { return x >= 42 && x <= 58; }));
        QTRY_VERIFY(field->findChildren<QPropertyAnimation*>().isEmpty());
        QCOMPARE(field->pos(), QPoint(50, 40));
        QCOMPARE(field->y(), 40);
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
