#include "sampletips.h"

#include "shell/core/programpaths.h"

#include <QStringList>

#include <initializer_list>

namespace {

QString lines(std::initializer_list<const char *> rows)
{
    QStringList text;
    for (const char *row : rows)
        text << QString::fromUtf8(row);
    return text.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// Text pictures are drawn in full-width characters only, so they keep their
// shape in any face that gives every Chinese character the same width.
QList<SampleTips::Sample> pictures()
{
    return {
        {TipKind::Pictures, QStringLiteral("一颗爱心"),
         lines({"　　■■■　　　　　■■■",
                "　■■■■■　　　■■■■■",
                "■■■■■■■　■■■■■■■",
                "■■■■■■■■■■■■■■■",
                "■■■■■　我爱你　■■■■■",
                "　■■■■■■■■■■■■■",
                "　　■■■■■■■■■■■",
                "　　　■■■■■■■■■",
                "　　　　■■■■■■■",
                "　　　　　■■■■■",
                "　　　　　　■■■",
                "　　　　　　　■"})},
        {TipKind::Pictures, QStringLiteral("生日蛋糕"),
         lines({"　　　　　　ｉ　ｉ　ｉ",
                "　　　　┏━┻━┻━┻━┓",
                "　　　　┃　生日快乐！　┃",
                "　　┏━┻━━━━━━━┻━┓",
                "　　┃～～～～～～～～～～～┃",
                "　　┃★　☆　★　★　☆　★┃",
                "　　┃～～～～～～～～～～～┃",
                "　　┗━━━━━━━━━━━┛"})},
        {TipKind::Pictures, QStringLiteral("小猫打招呼"),
         lines({"　　∧＿∧",
                "　（　＾ω＾）　喵～你好呀！",
                "　（　つ　つ",
                "　　し―Ｊ"})},
        {TipKind::Pictures, QStringLiteral("月亮晚安"),
         lines({"　　　　　☆　　　　　　　★",
                "　　★　　　　●●●",
                "　　　　　　●●　　　　☆",
                "　☆　　　●●",
                "　　　　　●●　　　　★",
                "　　　　　　●●",
                "　　　★　　　●●●　　☆",
                "",
                "　　　祝你做个好梦　晚安～"})},
    };
}

QList<SampleTips::Sample> words()
{
    return {
        {TipKind::Words, QStringLiteral("Zantoria使用小窍门"),
         lines({"１、点左边列表里的秘笈名称，",
                "　　内容就显示在这里。",
                "２、去掉“只读模式”的勾就能修改；",
                "　　换到别的秘笈时会问你是否保存。",
                "３、选中一段文字，再用右边工具面板",
                "　　的按钮复制、发送，或者添加到",
                "　　『我的最爱』。",
                "４、点“我的最爱”，收藏过的文字",
                "　　都在里面。"})},
        {TipKind::Words, QStringLiteral("早安问候"),
         lines({"早上好！",
                "窗外的阳光已经替我敲过你的门了，",
                "愿你今天心情晴朗，事事顺心，",
                "记得吃早饭哦～"})},
        {TipKind::Words, QStringLiteral("生日祝福"),
         lines({"祝你生日快乐！",
                "愿新的一岁里，所有的期待都有回音，",
                "所有的努力都不被辜负，",
                "每天都有一件值得开心的小事。"})},
        {TipKind::Words, QStringLiteral("新年贺词"),
         lines({"新年到，好运到！",
                "祝你在新的一年里：",
                "身体健康，工作顺利，",
                "钱包鼓鼓，笑容多多！"})},
        {TipKind::Words, QStringLiteral("晚安"),
         lines({"夜深了，把烦恼折好放进抽屉，",
                "明天再说。",
                "晚安，好梦！"})},
    };
}

} // namespace

QList<SampleTips::Sample> SampleTips::all()
{
    return pictures() + words();
}

bool SampleTips::writeMissing(const QString &programDir)
{
    // Spelled as start-up spells them, so both find the same directories.
    for (const char *dir : {"\\data\\Zantoria秘笈\\Pictures", "\\data\\Zantoria秘笈\\Words"})
        ProgramPaths::MakeDirPath(programDir + QString::fromUtf8(dir).replace(u'\\', u'/'));
    const TipStore store(programDir);
    bool ok = true;
    for (const Sample &sample : all()) {
        const QString file = TipStore::fileNameFor(sample.name);
        if (!store.existingEntry(sample.kind, file).isEmpty())
            continue;
        ok = TipStore::save(store.path(sample.kind, file), sample.text) && ok;
    }
    return ok;
}
