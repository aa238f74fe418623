// The frequency map editor on real widgets with real key events.
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include "tests/gui/MainFormFixture.h"

namespace mxc9::testing {
namespace {

TEST_F(MainFormTest, StartUpShowsTheDefaultPageWithNoBarEntered) {
    for (int i = 0; i < kFrequencyBars; ++i) EXPECT_EQ(bar(i)->value(), 35) << i;
    EXPECT_EQ(form->AVG_BAR->value(), 35);
    EXPECT_TRUE(markedCells().empty());
    EXPECT_EQ(form->FRQ_VALUE->text(), "-----");
    EXPECT_EQ(form->FRQ_LEVEL->text(), "-----");
    EXPECT_EQ(form->FRQ_NAME->text(), "-----");
    EXPECT_EQ(form->selection().anchor, -1);
    EXPECT_EQ(form->selection().end, -1);
    EXPECT_EQ(form->selection().focused, -1);
}

TEST_F(MainFormTest, UpAndDownMoveABarByOneCode) {
    focus(bar(4));
    type(Qt::Key_Down);
    EXPECT_EQ(bar(4)->value(), 36);
    EXPECT_EQ(form->screen().bar(4), 36);
    EXPECT_EQ(form->FRQ_NAME->text(), "THRT5");
    EXPECT_EQ(form->FRQ_LEVEL->text(), "No,37");
    type(Qt::Key_Up);
    type(Qt::Key_Up);
    EXPECT_EQ(bar(4)->value(), 34);
    EXPECT_EQ(form->screen().bar(4), 34);
    EXPECT_EQ(bar(5)->value(), 35);
}

TEST_F(MainFormTest, OtherKeysLeaveABarWhereItIs) {
    focus(bar(4));
    for (auto key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End, Qt::Key_A}) {
        type(key);
        EXPECT_EQ(bar(4)->value(), 35) << key;
        EXPECT_EQ(QApplication::focusWidget(), bar(4)) << key;
    }
}

TEST_F(MainFormTest, LeftAndRightWalkFromBarToBarButNotPastTheEnds) {
    focus(bar(0));
    type(Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), bar(0));
    EXPECT_EQ(bar(0)->value(), 35);
    type(Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), bar(1));
    EXPECT_EQ(form->FRQ_NAME->text(), "THRT2");
    EXPECT_EQ(markedCells(), (std::set<int>{1}));

    focus(bar(31));
    type(Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), bar(31));
    EXPECT_EQ(bar(31)->value(), 35);
    EXPECT_EQ(form->AVG_BAR->value(), 35);
    type(Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), bar(30));
}

TEST_F(MainFormTest, ShiftRightExtendsTheRangeAndReleasingShiftCollapsesIt) {
    focus(bar(0));
    QTest::keyPress(bar(0), Qt::Key_Shift);
    for (int step = 0; step < 3; ++step) type(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), bar(3));
    EXPECT_EQ(markedCells(), (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(form->selection().anchor, 0);
    EXPECT_EQ(form->selection().end, 3);

    QTest::keyRelease(bar(3), Qt::Key_Shift);
    EXPECT_EQ(markedCells(), (std::set<int>{3}));
    EXPECT_EQ(form->selection().anchor, 3);
    EXPECT_EQ(form->selection().end, 3);
}

TEST_F(MainFormTest, ShiftUpAndDownMoveTheRangeOrRefuseTheMoveAsAWhole) {
    form->screen().setBar(3, 10);
    form->screen().setBar(4, 0);
    form->screen().setBar(5, 20);
    focus(bar(3));
    QTest::keyPress(bar(3), Qt::Key_Shift);
    type(Qt::Key_Right, Qt::ShiftModifier);
    type(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), bar(5));
    const int average = form->AVG_BAR->value();

    type(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(bar(3)->value(), 10);
    EXPECT_EQ(bar(4)->value(), 0);
    EXPECT_EQ(bar(5)->value(), 20);
    EXPECT_EQ(form->screen().bar(5), 20);
    EXPECT_EQ(form->AVG_BAR->value(), average);

    type(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(bar(3)->value(), 11);
    EXPECT_EQ(bar(4)->value(), 1);
    EXPECT_EQ(bar(5)->value(), 21);
    EXPECT_EQ(bar(6)->value(), 35);
    EXPECT_EQ(form->AVG_BAR->value(), AverageCode(form->screen()));
    QTest::keyRelease(bar(5), Qt::Key_Shift);
}

TEST_F(MainFormTest, AverageBarKeysMoveEveryBarUnlessOneWouldLeaveTheRange) {
    form->screen().setBar(9, 63);
    form->screen().setAverageBar(AverageCode(form->screen()));
    const int average = form->AVG_BAR->value();
    focus(form->AVG_BAR);
    EXPECT_EQ(form->FRQ_NAME->text(), "AVG");
    type(Qt::Key_Down);
    EXPECT_EQ(form->AVG_BAR->value(), average);
    EXPECT_EQ(bar(0)->value(), 35);

    type(Qt::Key_PageUp);
    EXPECT_EQ(form->AVG_BAR->value(), average - 1);
    EXPECT_EQ(bar(0)->value(), 34);
    EXPECT_EQ(bar(9)->value(), 62);
}

TEST_F(MainFormTest, DraggingTheAverageBarThumbMovesTheWholeMap) {
    focus(form->AVG_BAR);
    form->AVG_BAR->setSliderDown(true);
    form->AVG_BAR->setSliderPosition(30);  // as a drag of the thumb reports it
    form->AVG_BAR->setSliderDown(false);
    EXPECT_EQ(form->AVG_BAR->value(), 30);
    for (int i = 0; i < kFrequencyBars; ++i) EXPECT_EQ(bar(i)->value(), 30) << i;
}

TEST_F(MainFormTest, ShiftTabFromTheAverageBarGivesAnOpenRangeWithAnEmptyGauge) {
    focus(form->AVG_BAR);
    QTest::keyPress(form->AVG_BAR, Qt::Key_Shift);
    type(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), bar(31));
    EXPECT_EQ(form->selection().anchor, -1);
    EXPECT_EQ(form->selection().end, 31);
    EXPECT_TRUE(markedCells().empty());
    QTest::keyRelease(bar(31), Qt::Key_Shift);
}

TEST_F(MainFormTest, LeavingTheBarsEmptiesBothGauges) {
    focus(bar(2));
    EXPECT_EQ(markedCells(), (std::set<int>{2}));
    focus(form->Comment);
    EXPECT_TRUE(markedCells().empty());
    EXPECT_EQ(form->FRQ_NAME->text(), "THRT3");
}

TEST_F(MainFormTest, ClickingABarTakesTheFocusAndMovesOnlyThatBar) {
    QScrollBar* target = bar(7);
    // A click on the groove below the thumb asks for one page down (one code here).
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, QPoint(8, 340));
    EXPECT_EQ(QApplication::focusWidget(), target);
    EXPECT_EQ(target->value(), 36);
    EXPECT_EQ(bar(6)->value(), 35);
    EXPECT_EQ(markedCells(), (std::set<int>{7}));
}

// Centre of a bar's thumb as the style draws it.
QPoint ThumbCentre(QScrollBar* bar) {
    return ThumbRect(bar).center();
}

TEST_F(MainFormTest, DraggingAThumbWithShiftHeldMovesTheWholeRangeAlike) {
    form->screen().setBar(3, 20);
    form->screen().setBar(4, 30);
    focus(bar(3));
    QTest::keyPress(bar(3), Qt::Key_Shift);
    const QPoint grip = ThumbCentre(bar(5));
    QTest::mousePress(bar(5), Qt::LeftButton, Qt::ShiftModifier, grip);
    ASSERT_EQ(QApplication::focusWidget(), bar(5));
    EXPECT_EQ(markedCells(), (std::set<int>{3, 4, 5}));
    // Delivered straight to the bar: QTest's own move would report Shift as released.
    const QPoint to = grip + QPoint(0, 40);
    QMouseEvent move(QEvent::MouseMove, to, bar(5)->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::ShiftModifier);
    QApplication::sendEvent(bar(5), &move);
    QTest::mouseRelease(bar(5), Qt::LeftButton, Qt::ShiftModifier, grip + QPoint(0, 40));
    QTest::keyRelease(bar(5), Qt::Key_Shift);

    const int delta = bar(5)->value() - 35;
    EXPECT_GT(delta, 0);
    EXPECT_EQ(bar(3)->value(), 20 + delta);
    EXPECT_EQ(bar(4)->value(), 30 + delta);
    EXPECT_EQ(bar(2)->value(), 35);
    EXPECT_EQ(bar(6)->value(), 35);
    EXPECT_EQ(form->AVG_BAR->value(), AverageCode(form->screen()));
}

}  // namespace
}  // namespace mxc9::testing
