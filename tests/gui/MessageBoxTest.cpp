// Message boxes and questions as the program shows them, on real boxes: Qt's buttons in
// the language in use, and a width at which a title bar shows the whole caption.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/Application.h"
#include "common/Language.h"
#include "common/MessageTable.h"
#include "platform/qt/QtSeams.h"

namespace mxc9::testing {
namespace {

class MessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseWindowFontInPopups();
        // As the program does once the language is chosen.
        ASSERT_TRUE(InstallQtTranslations(LanguageIndex()))
            << "Qt's translations are missing (qt6-translations-l10n)";
    }

    // Shows a box through the program's message-box seam, runs `look` on it once it is on
    // screen, then presses its last button; gives back the box's answer.
    int show(const std::string& text, const std::string& caption, MbButtons buttons,
             const std::function<void(QMessageBox&)>& look) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !QTest::qWaitForWindowExposed(box)) {
                ADD_FAILURE() << "no box on screen";
                if (box) box->done(0);
                return;
            }
            look(*box);
            box->buttons().last()->click();
        });
        return boxes.show(text, caption, MbIcon::Information, buttons);
    }

    QtMessageBoxes boxes;
};

TEST_F(MessageBoxTest, QuestionAndNoticeButtonsSpeakTheLanguageInUse) {
    const bool japanese = LanguageIndex() == kLanguageJapanese;
    QString yes, no, ok;
    EXPECT_EQ(show(Message(0), kCaptionQuit, MbButtons::YesNo,
                   [&](QMessageBox& box) {
                       yes = box.button(QMessageBox::Yes)->text();
                       no = box.button(QMessageBox::No)->text();
                   }),
              kIdNo);
    EXPECT_EQ(yes, japanese ? QStringLiteral("はい(&Y)") : QStringLiteral("&Yes"));
    EXPECT_EQ(no, japanese ? QStringLiteral("いいえ(&N)") : QStringLiteral("&No"));
    EXPECT_EQ(show(Message(1), kCaptionInfo, MbButtons::Ok,
                   [&](QMessageBox& box) { ok = box.button(QMessageBox::Ok)->text(); }),
              kIdOk);
    EXPECT_EQ(ok, QStringLiteral("OK"));
}

TEST_F(MessageBoxTest, BoxesAreWideEnoughForTheTitleBarToShowTheCaption) {
    // openbox's default theme centres the caption over the bar and needs about 55 pixels
    // beside it on each side: a window 140 pixels wide shows "Info" whole, at 130 "I…".
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setBold(true);
    const QFontMetrics metrics(title);
    const std::pair<const char*, std::string> cases[] = {
        {kCaptionInfo, Message(1)},    {kCaptionInfo, "COM1 completion"},
        {kCaptionWarning, Message(8)}, {kCaptionQuit, Message(0)},
        {kCaptionError, "x"},          {"MXC-9 Manager Ver2.2 US", "Unknown error."},
    };
    for (const auto& [caption, text] : cases) {
        SCOPED_TRACE(caption);
        const int needed = metrics.horizontalAdvance(QString::fromUtf8(caption)) + 2 * 55;
        int width = 0;
        show(text, caption, MbButtons::Ok, [&](QMessageBox& box) { width = box.width(); });
        EXPECT_GE(width, needed);
    }
}

}  // namespace
}  // namespace mxc9::testing
