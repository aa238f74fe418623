// The texts of the main window in the language in use.
#include <QFontInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QToolButton>

#include "app/ApplicationShell.h"
#include "common/MessageTable.h"
#include "tests/gui/MainFormFixture.h"

namespace mxc9::testing {
namespace {

struct WindowTexts {
    const char* title;
    const char* quitQuestion;
    std::array<const char*, 4> hints;
    std::array<const char*, 11> menu;
};

const WindowTexts kEnglish = {
    "MXC-9 Manager Ver2.2 US",
    "Close the program?",
    {"Write", "Read", "Information", "Quit"},
    {"Rename", "NewPage", "Linear Interpolation", "Frequency Reset", "Values Reset", "Open",
     "Import File", "Save", "Save All", "Close", "Delete"}};

const WindowTexts kJapanese = {
    "MXC-9 Manager Ver2.2 JP",
    "終了してよろしいですか？",
    {"ＰＣからＭＸＣにデータを書き込みます", "ＭＸＣのデータを取得します", "インフォメーション",
     "終了"},
    {"ページの名前を変更する", "新規ページの追加", "直線で結ぶ", "周波数をリセットする",
     "その他の項目をリセットする", "ファイルを開く", "ファイルを挿入する", "現在のページのみ保存",
     "全て保存", "編集中のファイルを閉じる", "現在のページを削除する"}};

const WindowTexts& Expected() {
    return LanguageIndex() == 1 ? kEnglish : kJapanese;
}

TEST_F(MainFormTest, TitleHintsAndMenuCaptionsComeFromTheLanguageInUse) {
    EXPECT_EQ(form->windowTitle().toStdString(), Expected().title);
    EXPECT_EQ(ApplicationTitle(), Expected().title);
    QToolButton* buttons[] = {form->PROGRAM_BTN, form->READ_BTN, form->INFO_BTN, form->EXIT_BTN};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(buttons[i]->toolTip().toStdString(), Expected().hints[i]) << i;
    size_t item = 0;
    for (QAction* action : form->PopupMenu1->actions()) {
        if (action->isSeparator()) continue;
        ASSERT_LT(item, Expected().menu.size());
        EXPECT_EQ(action->text().toStdString(), Expected().menu[item]) << item;
        ++item;
    }
    EXPECT_EQ(item, Expected().menu.size());
}

TEST_F(MainFormTest, QuitQuestionUsesTheTableTextAndTheEnglishCaption) {
    messages.answers = {kIdNo};
    form->close();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Expected().quitQuestion);
    EXPECT_EQ(messages.shown[0].caption, "Quit");
    EXPECT_TRUE(form->isVisible());
}

TEST_F(MainFormTest, WindowFontsResolveToAFontWithTheJapaneseGlyphs) {
    for (const char* family : {"ＭＳ Ｐゴシック", "MS UI Gothic"}) {
        QFont font(QString::fromUtf8(family));
        font.setPixelSize(12);
        EXPECT_EQ(QFontInfo(font).family(), "IPAPGothic") << family;
        const QFontMetrics metrics(font);
        for (char32_t glyph : {U'終', U'了', U'ペ', U'Ｐ', U'？'})
            EXPECT_TRUE(metrics.inFontUcs4(glyph)) << family << " " << static_cast<int>(glyph);
    }
    EXPECT_EQ(QFontInfo(form->font()).family(), "IPAPGothic");
}

}  // namespace
}  // namespace mxc9::testing
