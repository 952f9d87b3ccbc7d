// The flat button on real widgets: clicks, colours, animations, hover and layout.
#include "app/ui/RkFlatButton.h"
#include "Auxiliary/Drawing.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

namespace {

const QColor kNormal(0x20, 0x60, 0xC0);
const QColor kActive(0x10, 0x30, 0x60);

}  // namespace

class RkFlatButtonTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> window;
    RkFlatButton* button = nullptr;  // in the window, shown

private slots:
    void init()
    {
        window = std::make_unique<QWidget>();
        button = new RkFlatButton(QStringLiteral("Uninstall"), window.get());
        button->setButtonColor(kNormal);
        button->setActiveButtonColor(kActive);
        button->setTextColor(Qt::white);
        button->setActiveTextColor(Qt::yellow);
        button->setGeometry(10, 10, 120, 32);
        window->resize(200, 100);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void momentaryClickShowsActiveColoursOnlyWhilePressed()
    {
        QSignalSpy clicked(button, &RkFlatButton::clicked);
        // A release without a press sends nothing.
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(clicked.count(), 0);
        QVERIFY(!button->state());

        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
        QVERIFY(button->state());
        QCOMPARE(button->layerBackgroundColor(), kActive);
        QCOMPARE(button->titleColor(), QColor(Qt::yellow));
        QCOMPARE(clicked.count(), 0);  // the action goes on release

        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 10));
        QVERIFY(!button->state());
        QCOMPARE(button->layerBackgroundColor(), kNormal);
        QCOMPARE(button->titleColor(), QColor(Qt::white));
        QCOMPARE(clicked.count(), 1);
    }

    void toggleButtonKeepsItsNewState()
    {
        button->setMomentary(false);
        QSignalSpy clicked(button, &RkFlatButton::clicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->state());
        QCOMPARE(button->layerBackgroundColor(), kActive);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!button->state());
        QCOMPARE(clicked.count(), 2);
    }

    void disabledButtonIgnoresClicksAndLetsThemThrough()
    {
        button->setEnabled(false);
        const int animations = button->animationsStarted();
        QSignalSpy clicked(button, &RkFlatButton::clicked);

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 0);
        QVERIFY(!button->state());
        QCOMPARE(button->layerBackgroundColor(), kNormal);
        QCOMPARE(button->animationsStarted(), animations);
        // Not hit-tested: the point belongs to what lies below.
        const QPoint inside = button->mapToGlobal(QPoint(20, 10));
        QCOMPARE(QApplication::widgetAt(inside), window.get());

        button->setEnabled(true);
        QCOMPARE(QApplication::widgetAt(inside), button);
    }

    void colourChangeIsAnimatedOverTheDuration()
    {
        button->setOnAnimationDuration(0.2);
        button->setState(true);
        // The layer holds the target at once; the drawn colour gets there over the duration.
        QCOMPARE(button->layerBackgroundColor(), kActive);
        auto drawn = [this] {
            const QColor pixel = button->grab().toImage().pixelColor(60, 5);
            return QColor(pixel.red(), pixel.green(), pixel.blue());  // the hover dimming aside
        };
        QVERIFY(drawn() != kActive);
        QTRY_COMPARE(drawn(), kActive);
    }

    void pointerInsideRaisesTheAlpha()
    {
        RkFlatButton button;
        QCOMPARE(button.alpha(), 0.94);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(&button, &enter);
        QCOMPARE(button.alpha(), 1.0);
        QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        QCOMPARE(button.alpha(), 0.94);
        QCOMPARE(button.cursor().shape(), Qt::ArrowCursor);
    }

    void iconAndTitleShareTheFreeSpaceInThirds()
    {
        RkFlatButton button(QStringLiteral("Finish"));
        button.resize(150, 60);
        button.setImage(QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
        const QSizeF title = drawing::sizeOfFont(QStringLiteral("Finish"), button.font());

        button.setImagePosition(RkFlatButton::ImagePosition::imageLeft);
        const qreal gap = std::floor((150 - title.width() - 16) / 3);
        QCOMPARE(button.iconRect().left(), gap);
        QCOMPARE(button.titleRect().left(), gap + 16 + gap);

        button.setImagePosition(RkFlatButton::ImagePosition::imageAbove);
        const qreal vgap = std::floor((60 - title.height() - 16) / 3);
        QCOMPARE(button.iconRect().top(), vgap);
        QCOMPARE(button.titleRect().top(), vgap + 16 + vgap);

        button.setImagePosition(RkFlatButton::ImagePosition::noImage);
        QVERIFY(button.iconRect().isEmpty());
        QCOMPARE(button.titleRect().center().x(), 75.0);
    }
};

QTEST_MAIN(RkFlatButtonTest)
#include "RkFlatButtonTest.moc"
