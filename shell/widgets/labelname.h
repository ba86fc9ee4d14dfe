#pragma once

// What a screen reader calls a control that a label captions: the label's
// caption without its outer blanks and without the colon that ends it
// ("秘笈名称：" names its list "秘笈名称"), full-width or half-width.

#include <QString>
#include <QStringView>

QString LabelName(QStringView caption);
