#include "aboutspacefold.h"

#include "shell/core/fonts.h"
#include "shell/core/logo.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

namespace {

QLabel *addLabel(QWidget *parent, const QString &text, const QFont &font, const QRect &geometry,
                 const QColor &ink = QColor(40, 40, 40))
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setGeometry(geometry);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ink);
    label->setPalette(palette);
    return label;
}

} // namespace

AboutSpacefold::AboutSpacefold(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAboutSpacefold"));
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(380, 212);
    setModal(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(240, 245, 251)); // Zantoria's skin background
    setPalette(palette);
    setAutoFillBackground(true);

    auto *logo = new QLabel(this);
    logo->setPixmap(QPixmap::fromImage(Logo::image(64)));
    logo->setGeometry(18, 18, 64, 64);
    auto *picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(foldPicture(64, 84)));
    picture->setGeometry(18, 98, 64, 84);

    QFont name = Fonts::crispFont(Fonts::kSongTi, 15);
    name.setBold(true);
    const QFont text = Fonts::crispFont(Fonts::kSongTi, 9);
    addLabel(this, QStringLiteral("空  格  压  缩  器"), name, QRect(100, 20, 260, 26), QColor(33, 84, 160));
    addLabel(this, QStringLiteral(" V1.0 Build 827"), text, QRect(100, 52, 260, 18));
    addLabel(this, QStringLiteral("程序设计：Morvenna"), text, QRect(100, 100, 260, 18));
    addLabel(this, QStringLiteral("为 Zantoria 的文字画量身打造的小工具"), text, QRect(100, 124, 260, 18));
    addLabel(this, QStringLiteral("有任何意见或建议，欢迎告诉Morvenna：）"), text, QRect(100, 148, 260, 18));
    addLabel(this, QStringLiteral("单击或按任意键关闭"), text, QRect(100, 184, 260, 18), QColor(130, 130, 130));

    for (QObject *child : children()) {
        if (child->isWidgetType())
            child->installEventFilter(this);
    }
}

QImage AboutSpacefold::foldPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(177, 177, 177));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 6, 6);

    // Rows of cells with a blank gutter (top), then the same rows folded
    // together (bottom), an arrow between them.
    static const char *before[] = {"##..#", "#...#", ".#..#"};
    static const char *after[] = {"###", "#.#", ".##"};
    const qreal cell = width / 9.0;
    const auto drawRows = [&](const char *const *rows, int columns, qreal top) {
        const qreal left = (width - columns * cell) / 2;
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < columns; ++c) {
                const bool ink = rows[r][c] == '#';
                p.setPen(Qt::NoPen);
                p.setBrush(ink ? QColor(33, 84, 160) : QColor(214, 224, 240));
                p.drawRoundedRect(QRectF(left + c * cell + 1, top + r * cell + 1, cell - 2, cell - 2), 1.5, 1.5);
            }
        }
    };
    drawRows(before, 5, 6);
    drawRows(after, 3, height - 6 - 3 * cell);
    const qreal mid = height / 2.0;
    p.setPen(QPen(QColor(239, 108, 0), 2));
    p.drawLine(QPointF(width / 2.0, mid - 6), QPointF(width / 2.0, mid + 5));
    p.setBrush(QColor(239, 108, 0));
    p.setPen(Qt::NoPen);
    const QPointF arrow[] = {{width / 2.0 - 5, mid + 2}, {width / 2.0 + 5, mid + 2}, {width / 2.0, mid + 8}};
    p.drawPolygon(arrow, 3);
    return image;
}

void AboutSpacefold::mousePressEvent(QMouseEvent *)
{
    accept();
}

void AboutSpacefold::keyPressEvent(QKeyEvent *)
{
    accept();
}

bool AboutSpacefold::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
