#pragma once

#include "shell/core/utilities.h"

#include <QPixmap>
#include <QWidget>

// The one button of both programs: a flat face in `ButtonBackColor` with an
// optional background picture, an icon and a caption. It paints only inside
// its own rectangle; the hover frame around it is the container's to draw.
class CoolButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(double FontSize READ fontSize WRITE setFontSize)

public:
    explicit CoolButton(QWidget *parent = nullptr);
    explicit CoolButton(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // Font size in points.
    double fontSize() const { return m_fontSize; }
    void setFontSize(double points);

    QColor buttonBackColor() const { return m_backColor; }
    void setButtonBackColor(const QColor &colour);
    void setButtonBackColor(RgbValue colour) { setButtonBackColor(toQColor(colour)); }

    QPixmap buttonIcon() const { return m_icon; }
    void setButtonIcon(const QPixmap &icon);

    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);

    // The border switch: when on, the face draws a thin edge of its own.
    bool useBorders() const { return m_useBorders; }
    void setUseBorders(bool on);

    // The menu switch: a menu entry marks the keyboard focus with a bar down
    // its left edge (the system menu's entries take no focus, so it stays off).
    bool menuStyle() const { return m_menuStyle; }
    void setMenuStyle(bool on);

    QSize sizeHint() const override;

    // What a click does: raises Click, unless the button is disabled.
    void click();

Q_SIGNALS:
    void Click();
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void MouseOut();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QFont captionFont() const;

    QString m_caption;
    double m_fontSize = 9;
    QColor m_backColor = QColor(236, 236, 236);
    QPixmap m_icon;
    QPixmap m_picture;
    bool m_useBorders = false;
    bool m_menuStyle = false;
    bool m_pressed = false;
    bool m_hovered = false;
};
