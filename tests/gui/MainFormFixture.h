// A main window on the offscreen platform with fake seams and the real keyboard state,
// so that Shift is what QTest's key events leave held.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <set>

#include "app/MainForm.h"
#include "editor/qt/EditorScrollBar.h"
#include "platform/qt/QtSeams.h"
#include "tests/device/ScriptedPort.h"
#include "tests/fakes/FakeSeams.h"

namespace mxc9::testing {

// The thumb of a bar as the bar's own style places it, for hit tests and paint alike.
inline QRect ThumbRect(QScrollBar* bar) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider,
                                        bar);
}

class MainFormTest : public ::testing::Test, protected FakeSeamSet<QtKeyboardState> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(programFolder.isValid());
        folder.path = programFolder.path().toStdString() + "/";
        seams = SeamSet::seams();
        seams.serialDevices = &serialDevices;
        openForm();
    }
    // A new main window on the same seams; the serial port is a scripted one.
    void openForm() {
        form.reset();
        form = std::make_unique<TMainForm>(seams, nullptr, [this] {
            auto scripted = std::make_unique<ScriptedPort>();
            port = scripted.get();
            return scripted;
        });
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override {
        // Closing asks the quit question; the fake answers Yes when nothing is queued.
        messages.answers.clear();
        form.reset();
    }

    EditorScrollBar* bar(int index) { return form->FRQ[static_cast<size_t>(index)]; }
    void focus(QWidget* widget) {
        widget->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    // The user opens the "COMM" list, picks an entry and the list closes; the port
    // selection runs once the list has closed.
    void choosePort(int index) {
        form->CommPort->showPopup();
        form->CommPort->setCurrentIndex(index);
        form->CommPort->hidePopup();
        QApplication::processEvents();
    }
    // A key press and release as the platform delivers them: each to the widget that has
    // the focus at that moment (a press that moves the focus sends the release elsewhere).
    void type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyPress(QApplication::focusWidget(), key, modifiers);
        QTest::keyRelease(QApplication::focusWidget(), key, modifiers);
    }
    // Cells of Select_Gage1 (and, checked alike, Select_Gage2) painted bright green.
    std::set<int> markedCells() {
        const QImage top = form->Select_Gage1->pixmap().toImage();
        const QImage bottom = form->Select_Gage2->pixmap().toImage();
        std::set<int> marked;
        for (int i = 0; i < kFrequencyBars; ++i) {
            const QRgb pixel = top.pixel(17 * i + 8, 3);
            EXPECT_EQ(pixel, bottom.pixel(17 * i + 8, 3)) << "cell " << i;
            if (pixel == qRgb(0, 255, 0)) {
                marked.insert(i);
            } else {
                EXPECT_EQ(pixel, qRgb(0, 0, 128)) << "cell " << i;
            }
        }
        return marked;
    }

    QTemporaryDir programFolder;      // where MXC9.ini goes
    FakeSerialDevices serialDevices;  // none until a test plugs one in
    Seams seams;
    ScriptedPort* port = nullptr;  // owned by the window's device link
    std::unique_ptr<TMainForm> form;
};

}  // namespace mxc9::testing
