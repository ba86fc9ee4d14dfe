#include "shell/widgets/labelname.h"

#include "shell/core/utilities.h"

QString LabelName(QStringView caption)
{
    QString name = TrimBlanks(caption);
    if (name.endsWith(u'：') || name.endsWith(u':'))
        name.chop(1);
    return name;
}
