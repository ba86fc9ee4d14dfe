#include "app/paneltable.h"

#include "app/aboutpanel.h"

#include "art/arttextpanel.h"
#include "art/pictotextpanel.h"
#include "library/librarypanel.h"
#include "paint/paintpanel.h"
#include "plugins/pluginpanel.h"

namespace {

template<typename Panel>
std::function<ContentPanel *(PanelContext &, QWidget *)> make()
{
    return [](PanelContext &context, QWidget *parent) { return new Panel(context, parent); };
}

} // namespace

std::vector<PanelRow> panelTable()
{
    return {
        {6, QStringLiteral("关    于"), QStringLiteral("正在初始化系统[关于]..."), make<AboutPanel>()},
        {1, QStringLiteral("Zantoria秘笈"), QStringLiteral("正在初始化[Zantoria秘笈]..."), make<LibraryPanel>()},
        {4, QStringLiteral("图片磨牙"), QStringLiteral("正在初始化[图片磨牙]..."), make<PicToTextPanel>()},
        {2, QStringLiteral("艺术文字"), QStringLiteral("正在初始化[艺术文字]..."), make<ArtTextPanel>()},
        {3, QStringLiteral("我涂我画"), QStringLiteral("正在初始化[我涂我画]..."), make<PaintPanel>()},
        {5, QStringLiteral("插件管理"), QStringLiteral("正在初始化[插件管理]..."), make<PluginPanel>()},
    };
}
