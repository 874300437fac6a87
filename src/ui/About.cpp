#include "About.h"

#include "FormHlavUi.h"
#include "LanguageTexts.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace zyrk {

namespace {

constexpr int kClientW = 273;
constexpr int kClientH = 375;
constexpr int kPictureW = 161;
constexpr int kPictureH = 82;
constexpr int kMakerPx = 16;
constexpr int kStampPx = 11;
constexpr int kOkPx = 23;

QLabel* AboutLabel(QWidget* parent, int left, int top, const QString& text, int px) {
    auto* label = new QLabel(text, parent);
    label->setFont(WindowFont(px));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// Our own picture: the product name on a blue band with a stylised servo needle.
QPixmap MakerPicture() {
    QPixmap pm(kPictureW, kPictureH);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(QColor(0, 64, 160));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 8, kPictureW - 4, 56), 8, 8);
    p.setPen(QPen(Qt::white, 3));
    p.drawArc(QRectF(112, 16, 40, 40), 30 * 16, 120 * 16);
    p.drawLine(QPointF(132, 36), QPointF(146, 22));
    QFont f = WindowFont(34, true);
    p.setFont(f);
    p.drawText(QRectF(10, 8, 110, 56), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("ZYRK"));
    p.setPen(QColor(0, 64, 160));
    p.setFont(WindowFont(11));
    p.drawText(QRectF(2, 66, kPictureW - 4, 14), Qt::AlignCenter,
               QStringLiteral("engine servo control"));
    return pm;
}

} // namespace

QString BuildDate() {
    return QString::fromLatin1(__DATE__);
}
QString BuildTime() {
    return QString::fromLatin1(__TIME__);
}

TFormAbout::TFormAbout(const uint8_t& languageIndex, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      languageIndex_(languageIndex) {
    setModal(true);
    setFixedSize(kClientW, kClientH);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    auto* image = new QLabel(this);
    image->setGeometry(32, 24, kPictureW, kPictureH - 1); // the last row falls outside
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setPixmap(MakerPicture());

    AboutLabel(this, 32, 132, QStringLiteral("Velkarim s.r.o."), kMakerPx);
    AboutLabel(this, 32, 157, QStringLiteral("Dílenská 12"), kMakerPx);
    AboutLabel(this, 32, 182, QStringLiteral("612 00 Brno"), kMakerPx);
    AboutLabel(this, 32, 207, QStringLiteral("Czech Republic"), kMakerPx);
    AboutLabel(this, 32, 243, QStringLiteral("servis@velkarim.example"), kMakerPx);
    AboutLabel(this, 32, 268, QStringLiteral("www.velkarim.example"), kMakerPx);

    // FormCreate: the build stamp and the version, then centre once on the screen.
    LabelDate = AboutLabel(this, 32, 305, BuildDate(), kStampPx);
    LabelTime = AboutLabel(this, 32, 327, BuildTime(), kStampPx);
    LabelRsKey =
        AboutLabel(this, 32, 346, QStringLiteral("Version - %1").arg(kToolVersion), kStampPx);
    LabelExit = AboutLabel(this, 208, 334, QStringLiteral("OK"), kOkPx);
    LabelExit->resize(35, 29);
    LabelExit->setCursor(Qt::PointingHandCursor);
    LabelExit->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        const QSize outer = frameGeometry().size();
        move(s.width() / 2 - outer.width() / 2, s.height() / 2 - outer.height() / 2);
    }
}

void TFormAbout::FormActivate() {
    setWindowTitle(lang::AboutCaption(languageIndex_, windowTitle()));
}

void TFormAbout::showEvent(QShowEvent* event) {
    FormActivate();
    QDialog::showEvent(event);
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LabelExit && event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (LabelExit->rect().contains(me->position().toPoint())) {
            Button1Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zyrk
