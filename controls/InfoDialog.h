// The modal version-information dialog: the logo, the program's name and version, and the
// copyright line as a link to the user's guide (in the language in use) that the program
// installs, or, run from a build tree, the one in the source tree.
// Created once at start-up and shown again for every press of the Information button:
//
//     TInfoDialog* info = new TInfoDialog(seams.browser, mainForm);  // once
//     info->setLinkCaption(Message(17));                              // each showing
//     int result = info->exec();                                      // 1 for "OK" or the link
#pragma once

#include <QDialog>
#include <cstdint>
#include <span>
#include <string>

#include "platform/Seams.h"

class QLabel;

namespace mxc9 {

class TColorBtn;
class TLabel2;

class TInfoDialog : public QDialog {
    Q_OBJECT

  public:
    // browser opens the user's guide on a double click of the link; it is not owned and
    // may be null (the dialog then only closes).
    explicit TInfoDialog(IBrowser* browser, QWidget* parent = nullptr);
    // The same with another logo picture (JPEG bytes, not copied), for tests.
    TInfoDialog(IBrowser* browser, std::span<const std::uint8_t> logoJpeg,
                QWidget* parent = nullptr);

    // Caption of the link label: the copyright line in the language in use (UTF-8).
    void setLinkCaption(const std::string& caption);

    // Whether the logo picture decoded; when it did not, the dialog shows no logo.
    bool hasLogo() const;

    // Controls of the dialog, in tab order after ColorBtn1.
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    TLabel2* URL_Label = nullptr;
    TColorBtn* ColorBtn1 = nullptr;

    // Handlers of the link label.
    void URL_LabelDblClick();
    void URL_LabelMouseEnter(QObject* sender);
    void URL_LabelMouseLeave(QObject* sender);

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  public slots:
    void reject() override;

  private:
    IBrowser* browser_;
    // The page the link opens and names in its hint: a file URL of the user's guide.
    std::string linkUrl_;
};

}  // namespace mxc9
