#pragma once

#include <QDialog>

// frmAboutSpacefold: the program's name, version and maker. A click
// anywhere on it, or any key, closes it.
class AboutSpacefold : public QDialog
{
    Q_OBJECT

public:
    explicit AboutSpacefold(QWidget *parent = nullptr);

    // The second picture: a few rows of text art before and after folding.
    static QImage foldPicture(int width, int height);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
