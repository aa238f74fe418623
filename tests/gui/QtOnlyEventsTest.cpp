// Events that Qt sends and the original platform does not: a focus change for a pop-up
// menu or a change of active window, a wheel turn over a control, and the look and size
// of an open drop-down list. Each reaches the handlers only as the rules allow.
#include <QAbstractItemView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QWheelEvent>

#include "common/MessageTable.h"
#include "tests/gui/MainFormFixture.h"

namespace mxc9::testing {
namespace {

class QtOnlyEventsTest : public MainFormTest {
  protected:
    // Bars first..last selected with Shift, which stays held; the focus is on `last`.
    void selectWithShift(int first, int last) {
        focus(bar(first));
        QTest::keyPress(bar(first), Qt::Key_Shift);
        while (QApplication::focusWidget() != bar(last)) type(Qt::Key_Right, Qt::ShiftModifier);
    }
    void expectControlsShowThePage() {
        for (int i = 0; i < kFrequencyBars; ++i)
            EXPECT_EQ(bar(i)->value(), form->screen().bar(i)) << "FRQ_" << i + 1;
        EXPECT_EQ(form->AVG_BAR->value(), form->screen().averageBar());
        EXPECT_EQ(form->NBRK_BAR->value(), form->screen().neutralBrake());
        for (ListId list : {ListId::Brake, ListId::CutVt, ListId::Response, ListId::Current})
            EXPECT_EQ(form->listWidget(list)->currentIndex(), form->screen().listIndex(list));
    }
    // The first row an open list shows.
    static int top(QAbstractItemView* view) { return view->indexAt(QPoint(2, 2)).row(); }
    // One notch of the wheel over the middle of `target`; down is towards the user.
    static void turnWheel(QWidget* target, int notches, Qt::KeyboardModifiers modifiers) {
        const QPointF at = QRectF(target->rect()).center();
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(),
                          QPoint(0, -notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }
};

TEST_F(QtOnlyEventsTest, LinearInterpolationFromTheRightClickMenuDrawsTheLineAndAsks) {
    form->screen().setBar(2, 10);
    form->screen().setBar(6, 20);
    selectWithShift(2, 6);
    // Clicks through the windows, as the platform delivers them (a right press there is
    // what opens a context menu).
    const QPoint onTabStrip = form->TabControl1->mapTo(form.get(), QPoint(400, 5));
    QTest::mouseClick(form->windowHandle(), Qt::RightButton, Qt::ShiftModifier, onTabStrip);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->PopupMenu1->isVisible(); }, 2000));
    ASSERT_TRUE(form->LINER_ADJ->isEnabled());
    // The user lets go of Shift while the menu is open, then picks the item.
    QTest::keyRelease(form->PopupMenu1, Qt::Key_Shift);
    QTest::mouseClick(form->PopupMenu1->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      form->PopupMenu1->actionGeometry(form->LINER_ADJ).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->PopupMenu1->isVisible(); }, 2000));

    const int line[] = {10, 12, 15, 18, 20};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(form->screen().bar(2 + i), line[i]) << i;
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Message(10));
    EXPECT_EQ(messages.shown[0].caption, kCaptionInfo);
    EXPECT_EQ(QApplication::focusWidget(), bar(6));
    expectControlsShowThePage();
}

TEST_F(QtOnlyEventsTest, EscapeClosesThePageMenuWithOrWithoutShift) {
    // The guide has the user keep Shift held while the menu opens, so Escape may well
    // come with Shift.
    for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ShiftModifier}) {
        SCOPED_TRACE(modifiers == Qt::NoModifier ? "Escape" : "Shift+Escape");
        const QPoint onTabStrip = form->TabControl1->mapTo(form.get(), QPoint(400, 5));
        QTest::mouseClick(form->windowHandle(), Qt::RightButton, modifiers, onTabStrip);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->PopupMenu1->isVisible(); }, 2000));
        if (modifiers) QTest::keyPress(form->PopupMenu1, Qt::Key_Shift);
        QTest::keyClick(form->PopupMenu1, Qt::Key_Escape, modifiers);
        if (modifiers) QTest::keyRelease(form->PopupMenu1, Qt::Key_Shift);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form->PopupMenu1->isVisible(); }, 1000));
        form->PopupMenu1->hide();  // keeps a failure from reaching the next case
        EXPECT_TRUE(messages.shown.empty()) << "no command ran";
    }
}

TEST_F(QtOnlyEventsTest, MenuAndWindowActivationFocusChangesLeaveRangeAndReadouts) {
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        for (const bool averageShown : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "reason " << reason << " AVG " << averageShown);
            selectWithShift(3, 7);
            // "Frequency Reset" shows the average bar in the readouts and then asks.
            if (averageShown) form->editor().ShowReadouts(kAverageBarTag);
            QWidget* focused = QApplication::focusWidget();
            const std::string name = form->FRQ_NAME->text().toStdString();
            // Away (a menu opens, a message box comes up), Shift goes up elsewhere, back.
            QFocusEvent away(QEvent::FocusOut, reason);
            QApplication::sendEvent(focused, &away);
            QTest::keyRelease(form->TabControl1, Qt::Key_Shift);
            QFocusEvent back(QEvent::FocusIn, reason);
            QApplication::sendEvent(focused, &back);

            EXPECT_EQ(form->selection().anchor, 3);
            EXPECT_EQ(form->selection().end, 7);
            EXPECT_EQ(markedCells(), (std::set<int>{3, 4, 5, 6, 7}));
            EXPECT_EQ(form->FRQ_NAME->text().toStdString(), name);
            focus(form->Comment);
        }
    }
}

TEST_F(QtOnlyEventsTest, WheelMovesOnlyWhatTheHandlersMoveOneCodePerNotch) {
    struct Case {
        const char* what;
        std::function<QWidget*()> target;
        bool shift;
        int notches;
        std::function<void()> expect;
    };
    const Case cases[] = {
        {"Shift + wheel on FRQ_20 outside the range 5..7 takes it into the range",
         [&] { return bar(19); }, true, 1,
         [&] {
             for (int i = 4; i <= 19; ++i) EXPECT_EQ(form->screen().bar(i), 36) << i;
             EXPECT_EQ(form->screen().bar(3), 35);
             EXPECT_EQ(form->screen().bar(20), 35);
         }},
        {"wheel on FRQ_20 alone", [&] { return bar(19); }, false, -2,
         [&] {
             EXPECT_EQ(form->screen().bar(19), 33);
             EXPECT_EQ(form->screen().bar(5), 35);
         }},
        {"wheel on AVG_BAR", [&] { return form->AVG_BAR; }, false, 1,
         [&] {
             EXPECT_EQ(form->screen().averageBar(), 36);
             EXPECT_EQ(form->FRQ_NAME->text(), "AVG");
         }},
        {"wheel on NBRK_BAR", [&] { return form->NBRK_BAR; }, false, 1,
         [&] { EXPECT_EQ(form->NBRK_CAP->text(), "1"); }},
        {"wheel on BRK_LIST", [&] { return form->BRK_LIST; }, false, 1,
         [&] { EXPECT_EQ(form->screen().listIndex(ListId::Brake), 32); }},
        {"wheel on the closed COMM list changes no port", [&] { return form->CommPort; }, false, 1,
         [&] {
             EXPECT_EQ(form->CommPort->currentIndex(), 0);
             EXPECT_TRUE(messages.shown.empty());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        openForm();
        messages.shown.clear();
        selectWithShift(4, 6);
        if (!c.shift) QTest::keyRelease(bar(6), Qt::Key_Shift);
        turnWheel(c.target(), c.notches, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
        if (c.shift) QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Shift);
        c.expect();
        expectControlsShowThePage();
    }
}

TEST_F(QtOnlyEventsTest, OpenListsAreBlackWithWhiteBoldTextEightRowsAtTheCurrentItem) {
    for (QComboBox* list :
         {form->BRK_LIST, form->CUTVT_LIST, form->RES_LIST, form->CUR_LIST, form->CommPort}) {
        SCOPED_TRACE(list->objectName().toStdString());
        list->setCurrentIndex(list->count() - 2);
        list->showPopup();
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        EXPECT_TRUE(view->font().bold());
        // The first row (not the current one) as drawn: a black ground and light text.
        const QImage drawn = view->viewport()->grab().toImage();
        const QRect first = view->visualRect(view->model()->index(top(view), 0));
        int black = 0, light = 0;
        for (int y = first.top(); y <= first.bottom(); ++y) {
            for (int x = first.left(); x <= first.right(); ++x) {
                black += drawn.pixelColor(x, y) == QColor(Qt::black);
                light += drawn.pixelColor(x, y).lightness() > 200;
            }
        }
        EXPECT_GT(black, first.width() * first.height() / 2);
        EXPECT_GT(light, 5);

        const int rows = std::min(list->count(), 8);
        const QRect shown = view->viewport()->rect();
        const int top = this->top(view);
        const int bottom = view->indexAt(shown.bottomLeft() + QPoint(2, -2)).row();
        EXPECT_EQ(bottom - top + 1, rows);
        EXPECT_EQ(view->verticalScrollBar()->isVisible(), list->count() > 8);
        EXPECT_TRUE(shown.contains(view->visualRect(view->currentIndex())));
        EXPECT_EQ(view->currentIndex().row(), list->count() - 2);
        list->hidePopup();
        QApplication::processEvents();
    }
}

}  // namespace
}  // namespace mxc9::testing
