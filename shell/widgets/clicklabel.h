#pragma once

#include <QLabel>

// A label that answers a left click, for links and clickable pictures.
class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickLabel(QWidget *parent = nullptr);
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

    // What a left click does: raises Click, unless the label is disabled.
    void click();

Q_SIGNALS:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
