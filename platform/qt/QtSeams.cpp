#include "platform/qt/QtSeams.h"

#include <QDate>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QUrl>

namespace mxc9 {

namespace {

// Each entry is the text the list shows, then its pattern in parentheses, which the
// dialogs keep out of sight (HideNameFilterDetails): the first entry's own text ends in
// "(*.mxd)", the second's does not. "All files" matches every file, as "*.*" does on
// the original platform; here "*.*" would miss names without a dot.
void SetSettingsFileFilter(QFileDialog& dialog, const FileFilterNames& names) {
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(
        QString::fromStdString(names.settingsFiles + " (*.mxd);;" + names.allFiles + " (*)"));
}

// Room a title bar needs beside its caption, on each side. Window managers centre the
// caption over the whole bar (openbox does) or between the window's icon and its
// minimise, maximise and close buttons; a box only as wide as its text and buttons
// shows a short caption such as "Info" as "I…" under openbox.
constexpr int kTitleBarSideWidth = 64;

// The width at which a title bar shows the whole caption, measured in a bold title font
// as window managers draw it.
int WidthForCaption(const QString& caption) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(caption) + 2 * kTitleBarSideWidth;
}

}  // namespace

int QtMessageBoxes::show(const std::string& text, const std::string& caption, MbIcon icon,
                         MbButtons buttons) {
    QMessageBox box(owner_.data());
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
        case MbIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MbIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MbIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MbIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MbIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
    }
    if (buttons == MbButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    // The box takes its width from its layout (its caption counts only in a font of its
    // own choosing and with 50 pixels to spare): a strut in the layout widens it.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(WidthForCaption(box.windowTitle()), 0, QSizePolicy::Fixed,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    int answer = box.exec();
    if (answer == QMessageBox::Yes) return kIdYes;
    if (answer == QMessageBox::No) return kIdNo;
    // A Yes/No box closed with Escape or the close box reads as No, the safe answer.
    return buttons == MbButtons::YesNo ? kIdNo : kIdOk;
}

std::optional<std::string> QtFileDialogs::openFile(const std::string& proposed) {
    // The open dialog also accepts the name of a file that does not exist.
    QFileDialog dialog(owner_.data());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    SetSettingsFileFilter(dialog, names_);
    dialog.selectFile(QString::fromStdString(proposed));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtFileDialogs::saveFile(const std::string& proposed) {
    // No default extension and no overwrite question: the save commands handle both.
    QFileDialog dialog(owner_.data());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    SetSettingsFileFilter(dialog, names_);
    dialog.selectFile(QString::fromStdString(proposed));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::string DesktopDocumentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

LocalDate SystemClock::today() const {
    QDate date = QDate::currentDate();
    return LocalDate{date.year(), date.month(), date.day()};
}

bool QtKeyboardState::shiftHeld() const {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

void QtBrowser::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace mxc9
