#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "pages/PageNameDialog.h"
#include "pages/PageNameLayout.h"
#include "platform/Cp932.h"

namespace mxc9 {
namespace {

TEST(PageNameLayout, MulDivRoundsToTheNearestHalvesAwayFromZero) {
    const std::tuple<int, int, int, int> cases[] = {
        {180, 7, 4, 315}, {14, 13, 8, 23}, {5, 1, 2, 3},     {-5, 1, 2, -3},
        {5, -1, 2, -3},   {7, 1, 4, 2},    {6, 1, 4, 2},     {10, 1, 4, 3},
        {1, 1, 0, -1},    {8, 13, 8, 13},  {164, 6, 4, 246},
    };
    for (auto [x, y, z, expected] : cases)
        EXPECT_EQ(MulDiv(x, y, z), expected) << x << "*" << y << "/" << z;
}

TEST(PageNameLayout, SizesFollowFromTheFontMeasures) {
    // w 7, h 13, label 13 high, edit 21 high.
    PageNameLayout layout = ComputePageNameLayout(7, 13, 13, 21);
    EXPECT_EQ(layout.labelLeft, 14);
    EXPECT_EQ(layout.labelTop, 13);
    EXPECT_EQ(layout.labelMaxWidth, 287);
    EXPECT_EQ(layout.edit, (Rect{14, 31, 287, 21}));
    EXPECT_EQ(layout.ok, (Rect{67, 67, 88, 23}));  // 38*7/4 = 66.5 -> 67
    EXPECT_EQ(layout.cancel, (Rect{161, 67, 88, 23}));
    EXPECT_EQ(layout.clientWidth, 315);
    EXPECT_EQ(layout.clientHeight, 67 + 23 + 13);
}

// Runs `action` on the dialog once it is shown and running.
struct Script {
    std::function<void(QDialog&)> action;
    static void run(QDialog& dialog, void* context) {
        auto* script = static_cast<Script*>(context);
        QTimer::singleShot(0, &dialog, [script, &dialog] { script->action(dialog); });
    }
};

bool RunDialog(const std::string& start, std::string& name, std::function<void(QDialog&)> action) {
    PageNameDialog dialog;
    Script script{std::move(action)};
    dialog.onShown = &Script::run;
    dialog.onShownContext = &script;
    name = start;
    return dialog.inputPageName("Rename", "Input the name of the page.", name);
}

TEST(PageNameDialog, IsBuiltFromTheTableAndOkGivesTheEditedName) {
    std::string name;
    bool ok = RunDialog("DATA1", name, [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Rename");
        auto* edit = dialog.findChild<QLineEdit*>();
        auto* label = dialog.findChild<QLabel*>();
        ASSERT_TRUE(edit && label);
        EXPECT_EQ(label->text(), "Input the name of the page.");
        EXPECT_EQ(edit->text(), "DATA1");
        EXPECT_EQ(edit->selectedText(), "DATA1");
        QPushButton* okButton = nullptr;
        for (auto* button : dialog.findChildren<QPushButton*>())
            if (button->text() == "OK") okButton = button;
        ASSERT_TRUE(okButton);
        EXPECT_TRUE(okButton->isDefault());

        const QFontMetrics metrics(dialog.font());
        const int w =
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52;
        const PageNameLayout layout =
            ComputePageNameLayout(w, metrics.height(), label->height(), edit->height());
        EXPECT_EQ(dialog.size(), QSize(layout.clientWidth, layout.clientHeight));
        EXPECT_EQ(okButton->geometry(),
                  QRect(layout.ok.left, layout.ok.top, layout.ok.width, layout.ok.height));
        EXPECT_EQ(edit->x(), layout.edit.left);

        QTest::keyClicks(edit, "renamed");  // replaces the selected name
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(name, "renamed");
}

TEST(PageNameDialog, EscapeCancelsAndLeavesTheName) {
    std::string name;
    bool ok = RunDialog("DATA1", name, [](QDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>();
        QTest::keyClicks(edit, "changed");
        QTest::keyClick(edit, Qt::Key_Escape);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(name, "DATA1");
}

TEST(PageNameDialog, TypedTextIsKeptToWhatTheFileCanHold) {
    const std::pair<QString, std::string> cases[] = {
        {QString::fromUtf8("a😀b"), "a?b"},
        {QString::fromUtf8("表ソ"), "\x95\x5C\x83\x5C"},
        // 200 double-byte characters are 400 bytes: cut to 127 characters (254 bytes).
        {QString(200, QChar(0x65E5)),
         [] {
             std::string s;
             for (int i = 0; i < 127; ++i) s += "\x93\xFA";
             return s;
         }()},
    };
    for (const auto& [typed, kept] : cases) {
        std::string name;
        RunDialog("", name, [typed = typed](QDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>();
            edit->clear();
            edit->insert(typed);
            emit edit->textEdited(edit->text());  // as typing or pasting reports it
            dialog.accept();
        });
        EXPECT_EQ(name, kept);
        EXPECT_LE(name.size(), 255u);
    }
}

TEST(PageNameDialog, NameFromAFileIsKeptByteForByteUnlessEdited) {
    // 150 double-byte characters (300 bytes), and codes that read as others do.
    std::string longName;
    for (int i = 0; i < 150; ++i) longName += "\x93\xFA";
    const std::string duplicates = "\xFA\x4A\xED\x40\x80";
    struct Case {
        std::string start;
        std::vector<int> keys;  // typed at the end of the name
        std::string kept;
    };
    const Case cases[] = {
        {longName, {}, longName},
        {longName, {Qt::Key_X}, longName},  // a long name cannot grow
        {longName, {Qt::Key_Backspace}, longName.substr(0, 298)},
        {duplicates, {}, duplicates},
    };
    for (const Case& c : cases) {
        std::string name;
        const bool ok = RunDialog(c.start, name, [keys = c.keys](QDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>();
            QTest::keyClick(edit, Qt::Key_End);
            for (int key : keys) QTest::keyClick(edit, static_cast<Qt::Key>(key));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        EXPECT_TRUE(ok);
        EXPECT_EQ(name, c.kept);
    }
}

}  // namespace
}  // namespace mxc9
