#include "pages/PageNameDialog.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <memory>

#include "pages/PageCommands.h"
#include "pages/PageNameLayout.h"
#include "platform/Cp932.h"

namespace mxc9 {

namespace {

// The text cut to at most `limit` bytes in CP932, whole characters only, as the ANSI
// edit box of the original limits its text.
QString LimitCp932Bytes(const QString& text, int limit) {
    QString result;
    int bytes = 0;
    for (int i = 0; i < text.size();) {
        int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QString character = text.mid(i, length);
        int size = static_cast<int>(Utf8ToCp932(character.toStdString()).size());
        if (bytes + size > limit) break;
        bytes += size;
        result += character;
        i += length;
    }
    return result;
}

}  // namespace

bool PageNameDialog::inputPageName(const std::string& caption, const std::string& prompt,
                                   std::string& name) {
    QDialog dialog(owner_, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QString::fromStdString(caption));

    const QFontMetrics metrics(dialog.font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int w = metrics.horizontalAdvance(letters) / 52;
    const int h = metrics.height();

    auto* label = new QLabel(QString::fromStdString(prompt), &dialog);
    label->setWordWrap(true);
    auto* edit = new QLineEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);

    const int labelMaxWidth = ComputePageNameLayout(w, h, 0, 0).labelMaxWidth;
    const int labelWidth = std::min(labelMaxWidth, label->sizeHint().width());
    const int labelHeight = label->heightForWidth(labelWidth) > 0
                                ? label->heightForWidth(labelWidth)
                                : label->sizeHint().height();
    const PageNameLayout layout =
        ComputePageNameLayout(w, h, labelHeight, edit->sizeHint().height());

    label->setGeometry(layout.labelLeft, layout.labelTop, labelWidth, labelHeight);
    edit->setGeometry(layout.edit.left, layout.edit.top, layout.edit.width, layout.edit.height);
    ok->setGeometry(layout.ok.left, layout.ok.top, layout.ok.width, layout.ok.height);
    cancel->setGeometry(layout.cancel.left, layout.cancel.top, layout.cancel.width,
                        layout.cancel.height);
    dialog.setFixedSize(layout.clientWidth, layout.clientHeight);

    const QString shown = QString::fromStdString(Cp932ToUtf8(name));
    edit->setText(shown);
    edit->selectAll();
    // What CP932 cannot hold shows as '?' at once, and typing never makes the name longer
    // than 255 bytes in CP932, so the name on screen is the name that a save keeps. The
    // limit is on bytes, which QLineEdit::setMaxLength cannot count. A longer name that
    // came from a file is shown whole and may be kept or shortened, not lengthened.
    auto previous = std::make_shared<QString>(shown);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, previous](const QString& text) {
        QString fitted = QString::fromStdString(ReplaceNonCp932Characters(text.toStdString()));
        const size_t limit = kMaxPageNameBytes;
        const size_t before = Utf8ToCp932(previous->toStdString()).size();
        const size_t after = Utf8ToCp932(fitted.toStdString()).size();
        if (after > limit && after > before)
            fitted = before > limit ? *previous : LimitCp932Bytes(fitted, kMaxPageNameBytes);
        if (fitted != text) {
            int cursor = std::min<int>(edit->cursorPosition(), static_cast<int>(fitted.size()));
            edit->setText(fitted);
            edit->setCursorPosition(cursor);
        }
        *previous = fitted;
    });

    ok->setDefault(true);
    ok->setAutoDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    // QDialog closes with reject on Esc, which is what the cancel button does.

    if (QScreen* screen = dialog.screen()) {
        QRect area = screen->availableGeometry();
        dialog.move(area.center() - QPoint(layout.clientWidth / 2, layout.clientHeight / 2));
    }
    edit->setFocus();
    if (onShown) onShown(dialog, onShownContext);
    if (dialog.exec() != QDialog::Accepted) return false;
    name = EditedTextToCp932(edit->text().toStdString(), name);
    return true;
}

}  // namespace mxc9
