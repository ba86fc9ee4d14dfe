#include "app/splashwindow.h"

#include "shell/core/logo.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , lblInitInf(new QLabel(this))
{
    setObjectName(QStringLiteral("frmInit"));
    setWindowTitle(QStringLiteral("Zantoria"));
    setFixedSize(367, 212); // 5505 × 3180 twips

    lblInitInf->setObjectName(QStringLiteral("lblInitInf"));
    lblInitInf->setGeometry(24, 176, 319, 20);
    lblInitInf->setStyleSheet(QStringLiteral("color: #f4f7fb; font-size: 13px;"));
    lblInitInf->setText(QStringLiteral("正在进行初始化..."));

    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString SplashWindow::progressText() const
{
    return lblInitInf->text();
}

void SplashWindow::setProgressText(const QString &text)
{
    lblInitInf->setText(text);
    lblInitInf->repaint();
}

void SplashWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, width(), height());
    back.setColorAt(0, QColor(32, 84, 158));
    back.setColorAt(1, QColor(18, 42, 86));
    p.fillRect(rect(), back);

    // The logo on the left, the name and a line about the program beside it.
    p.drawImage(QPoint(24, 36), Logo::image(104));
    QFont name = font();
    name.setPixelSize(34);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QPoint(146, 84), QStringLiteral("Zantoria"));
    QFont line = font();
    line.setPixelSize(14);
    p.setFont(line);
    p.setPen(QColor(196, 216, 244));
    p.drawText(QPoint(148, 112), QStringLiteral("聊天字符画工具箱"));
    p.drawText(QPoint(148, 134), QStringLiteral("版本 1.2 Build 1103"));

    p.setPen(QColor(255, 255, 255, 60));
    p.drawLine(24, 166, width() - 24, 166);
    p.setPen(QColor(255, 255, 255, 90));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
