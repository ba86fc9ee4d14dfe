#pragma once

#include <QWidget>

class QLabel;

// The start-up window: the logo, a fixed line and the progress label that
// reports each load step.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(QWidget *parent = nullptr);

    // lblInfInit's text.
    QString progressText() const;
    void setProgressText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *lblInitInf;
};
