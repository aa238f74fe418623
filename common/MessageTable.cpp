#include "common/MessageTable.h"

#include <array>

namespace mxc9 {
namespace {

// Row 23: the nine characters a page name may not hold, in this order.
#define MXC9_REFUSED_CHARACTERS "\\/:*?\"<>|"

const std::array<std::string, 2 * kMessageRows> kTable = {
    // Block 0: Japanese.
    "終了してよろしいですか？",
    "書込成功",
    "通信失敗",
    "読込成功",
    "通信失敗",
    "シリアルポートをＯＦＦにしました",
    "ページ名の設定",
    "ページの名前を入力してください",
    "ページ名を入力してください",
    " ]を削除しますか？",
    "よろしいですか？",
    "周波数をリセットしますか？",
    "よろしいですか？",
    "その他の項目をリセットしますか？",
    "よろしいですか？",
    "編集中のデータが消えてしまいますがよろしいですか？",
    "編集中のデータが消えてしまいますがよろしいですか？",
    kCopyrightLineJapanese,
    "ＰＣからＭＸＣにデータを書き込みます",
    "ＭＸＣのデータを取得します",
    "インフォメーション",
    "終了",
    "JP",
    MXC9_REFUSED_CHARACTERS "の文字は使用できません",
    "ページの名前を変更する",
    "新規ページの追加",
    "直線で結ぶ",
    "周波数をリセットする",
    "その他の項目をリセットする",
    "ファイルを開く",
    "ファイルを挿入する",
    "現在のページのみ保存",
    "全て保存",
    "編集中のファイルを閉じる",
    "現在のページを削除する",
    "%1 に書き込めません",
    "設定データ (*.mxd)",
    "すべてのファイルを表示",
    "ページは %1 までしか開けません",
    "ファイルの %2 ページのうち %1 ページを読み込みました（ページは %3 まで）",
    "日本語のフォントがないため、英語で表示します",
    // Block 1: English.
    "Close the program?",
    "Completed",
    "Communication failed",
    "Completed",
    "Communication failed",
    "The serial port is disconnected.",
    "Rename",
    "Input the name of the page.",
    "Input the name of the page.",
    " ] Delete the data on the edit screen?",
    "Continue with this change?",
    "Reset the frequency data?",
    "Continue with this change?",
    "Reset the other data?",
    "Continue with this change?",
    "Clear the data on edit screen?",
    "Clear the data on the edit screen?",
    kCopyrightLineEnglish,
    "Write",
    "Read",
    "Information",
    "Quit",
    "US",
    MXC9_REFUSED_CHARACTERS,
    "Rename",
    "NewPage",
    "Linear Interpolation",
    "Frequency Reset",
    "Values Reset",
    "Open",
    "Import File",
    "Save",
    "Save All",
    "Close",
    "Delete",
    "Cannot write to %1",
    "Settings data (*.mxd)",
    "All files",
    "No page can be added: a window holds at most %1 pages.",
    "%1 of the file's %2 pages were read: a window holds at most %3 pages.",
    "The system has no font for the Japanese texts: the window shows them in English.",
};

const std::string kEmpty;

}  // namespace

const std::string& MessageIn(int language, int row) {
    if (language < 0 || language > 1 || row < 0 || row >= kMessageRows) return kEmpty;
    return kTable[static_cast<size_t>(language * kMessageRows + row)];
}

const std::string& Message(int row) {
    return MessageIn(LanguageIndex(), row);
}

std::string MessageWith(int row, std::initializer_list<std::string> values) {
    const std::string& text = Message(row);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t n =
            i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : values.size();
        if (text[i] == '%' && n < values.size()) {
            out += values.begin()[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

const std::string& LanguageCode() {
    return Message(22);
}

}  // namespace mxc9
