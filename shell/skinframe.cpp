#include "skinframe.h"

QString skinFailureText()
{
    return QStringLiteral("初始化系统皮肤时出现错误，可能是系统的默认皮肤文件已经被损坏或非法修改。：O\r\n"
                          "建议重新安装『Zantoria』，确认后程序会自动结束。");
}

QString skinFailureTitle()
{
    return QStringLiteral("『Zantoria』提醒您：)");
}

void SkinFrame::InitSkinForm(QWidget *, const QString &, const QString &, const QString &, const QString &)
{
}

void SkinFrame::FreeSkinPics()
{
}
