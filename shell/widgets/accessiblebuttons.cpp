#include "shell/widgets/accessiblebuttons.h"

#include "shell/widgets/clicklabel.h"
#include "shell/widgets/coolbutton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTextDocumentFragment>

#include <functional>

namespace {

// A push button whose press action does what a click does, and nothing while
// the widget is disabled (the widget's own press refuses then too).
class PressableButton final : public QAccessibleWidget
{
public:
    PressableButton(QWidget *widget, std::function<QString()> shown, std::function<void()> press)
        : QAccessibleWidget(widget, QAccessible::Button)
        , m_shown(std::move(shown))
        , m_press(std::move(press))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        // A name given on purpose wins; then what the face shows; then the
        // tooltip, which is all a picture has to say.
        QString name = widget()->accessibleName();
        if (name.isEmpty())
            name = m_shown();
        if (name.isEmpty())
            name = widget()->toolTip();
        // Captions come padded with ideographic spaces; the name is what shows.
        return name.trimmed();
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && widget()->isEnabled())
            m_press();
    }

private:
    std::function<QString()> m_shown;
    std::function<void()> m_press;
};

QAccessibleInterface *buttonFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("CoolButton")) {
        auto *button = static_cast<CoolButton *>(object);
        return new PressableButton(button, [button] { return button->caption(); }, [button] { button->click(); });
    }
    if (className == QLatin1String("ClickLabel")) {
        auto *label = static_cast<ClickLabel *>(object);
        const auto shown = [label] {
            return label->textFormat() == Qt::PlainText ? label->text()
                                                        : QTextDocumentFragment::fromHtml(label->text()).toPlainText();
        };
        return new PressableButton(label, shown, [label] { label->click(); });
    }
    return nullptr;
}

} // namespace

void installAccessibleButtons()
{
    static const bool installed = [] {
        QAccessible::installFactory(buttonFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
