#include "controls/InfoDialog.h"

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

#include "common/Language.h"
#include "common/MessageTable.h"
#include "controls/ColorBtn.h"
#include "controls/Label2.h"
#include "controls/Logo.h"
#include "controls/UserGuide.h"
#include "platform/ProgramFolder.h"

namespace mxc9 {

namespace {

const char* const kDialogFontFamily = "ＭＳ Ｐゴシック";
// The Windows font is missing here; IPA P Gothic has the same metrics.
const char* const kDialogFontStandIn = "IPAPGothic";
const QColor kLinkHoverColor(0xFF, 0x00, 0xFF);
// The client area as laid out; a link caption wider than the logo widens it.
const int kClientWidth = 285;
const int kClientHeight = 137;
const int kLinkRightMargin = 12;

QFont DialogFont() {
    QFont::insertSubstitution(kDialogFontFamily, kDialogFontStandIn);
    QFont font(kDialogFontFamily);
    font.setPixelSize(12);
    return font;
}

// A plain-text label that sizes itself to its caption, placed at (x, y).
template <typename Label>
Label* MakeLabel(QWidget* parent, int x, int y, const QString& caption) {
    auto* label = new Label(parent);
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    label->setText(caption);
    label->adjustSize();
    return label;
}

void SetLinkLook(QLabel* label, const QColor& color, bool underline) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(false);
    font.setItalic(false);
    font.setStrikeOut(false);
    font.setUnderline(underline);
    label->setFont(font);
}

// The logo's picture, pixel art of 285 x 60: at a device pixel ratio above 1 each of its
// pixels is repeated, never blended with its neighbours (which would blur its edges
// into grey ramps), so that it stays as crisp as at 96 dots per inch.
class PixelArtLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (pixmap().isNull()) return QLabel::paintEvent(event);
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawPixmap(QRect(QPoint(0, 0), pixmap().deviceIndependentSize().toSize()),
                           pixmap());
    }
};

}  // namespace

TInfoDialog::TInfoDialog(IBrowser* browser, QWidget* parent)
    : TInfoDialog(browser, LogoJpeg(), parent) {}

TInfoDialog::TInfoDialog(IBrowser* browser, std::span<const std::uint8_t> logoJpeg, QWidget* parent)
    : QDialog(parent), browser_(browser), linkUrl_(UserGuideUrl(ProgramFolder(), LanguageIndex())) {
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFont(DialogFont());
    setFixedSize(kClientWidth, kClientHeight);
    setSizeGripEnabled(false);

    // Created first so that it is first in the tab order and takes the focus.
    ColorBtn1 = new TColorBtn(this);
    ColorBtn1->setGeometry(104, 112, 75, 25);
    ColorBtn1->setText(QStringLiteral("OK"));
    ColorBtn1->setAutoDefault(true);
    connect(ColorBtn1, &QPushButton::clicked, this, [this] { done(1); });

    Image1 = new PixelArtLabel(this);
    Image1->move(0, 0);
    Image1->resize(285, 60);
    // A damaged picture leaves the space empty; the dialog works all the same.
    if (const auto logo = DecodeJpeg(logoJpeg.data(), logoJpeg.size())) {
        const QImage picture(logo->pixels.data(), logo->width, logo->height, logo->width * 3,
                             QImage::Format_RGB888);
        Image1->setPixmap(QPixmap::fromImage(picture.copy()));
        Image1->resize(logo->width, logo->height);
    }

    Label1 = MakeLabel<QLabel>(this, 24, 72, QStringLiteral("ProgramName"));
    Label2 = MakeLabel<QLabel>(this, 112, 72, QString::fromUtf8(kTitlePrefix));
    Label3 = MakeLabel<QLabel>(this, 24, 88, QStringLiteral("Copyright"));

    URL_Label = MakeLabel<TLabel2>(this, 112, 88, QString());
    URL_Label->setFont(DialogFont());
    SetLinkLook(URL_Label, Qt::black, false);
    URL_Label->setCursor(Qt::PointingHandCursor);
    URL_Label->setToolTip(QString::fromStdString(linkUrl_));
    URL_Label->OnDblClick = [this](QObject*) { URL_LabelDblClick(); };
    URL_Label->OnMouseEnter = [this](QObject* sender) { URL_LabelMouseEnter(sender); };
    URL_Label->OnMouseLeave = [this](QObject* sender) { URL_LabelMouseLeave(sender); };
    setLinkCaption(Message(17));
}

void TInfoDialog::setLinkCaption(const std::string& caption) {
    URL_Label->setText(QString::fromStdString(caption));
    URL_Label->adjustSize();
    // Sized to its contents: the whole copyright line shows, however long it is.
    setFixedSize(std::max(kClientWidth, URL_Label->geometry().right() + 1 + kLinkRightMargin),
                 kClientHeight);
}

bool TInfoDialog::hasLogo() const {
    return Image1->pixmap().width() > 0;
}

void TInfoDialog::URL_LabelDblClick() {
    if (browser_ != nullptr) browser_->openUrl(linkUrl_);  // its outcome is not examined
    done(1);
}

void TInfoDialog::URL_LabelMouseEnter(QObject*) {
    SetLinkLook(URL_Label, kLinkHoverColor, true);
}

void TInfoDialog::URL_LabelMouseLeave(QObject*) {
    SetLinkLook(URL_Label, Qt::black, false);
}

void TInfoDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the desktop, not on the owner.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TInfoDialog::keyPressEvent(QKeyEvent* event) {
    // The dialog has no Cancel button, so Escape does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TInfoDialog::reject() {
    // Closing by the window's close box: the cancel result.
    done(kIdCancel);
}

}  // namespace mxc9
