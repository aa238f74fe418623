#include "pages/PageNameDialog.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <memory>

#include "pages/PageCommands.h"
#include "pages/PageNameEdit.h"
#include "pages/PageNameLayout.h"
#include "platform/Cp932.h"

namespace mxc9 {

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
    // What the box keeps of what is typed (pages/PageNameEdit.h). The limit is on CP932
    // bytes, which QLineEdit::setMaxLength cannot count.
    auto previous = std::make_shared<QString>(shown);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, previous](const QString& text) {
        const QString fitted =
            QString::fromStdString(FitEditedPageName(text.toStdString(), previous->toStdString()));
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
