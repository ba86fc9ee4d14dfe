// A stand-in for a chat client's window, for the send tests: a top-level
// window titled "发送消息" (or "对话模式" with --conversation) whose edit box
// covers both edit points. Return sends the box's text, as a chat client
// does. Every change and every message sent is written to the record file
// (--record FILE) as JSON: {"box": "...", "sent": ["...", ...], "ready": true};
// "ready" appears once the box first had the keyboard (the window manager
// had then taken the window over and given it the focus).
//
//   zantoria_testchat --record FILE [--conversation] [--title TEXT] [--class NAME]
//                     [--history] [--box TEXT] [--deaf] [--nofocus]
//
// --title and --class give the window any title and WM_CLASS, as chat
// programs title their windows after the contact; --history lays it out as
// they do, a read-only history above and the edit box at the bottom (from
// y = 270 down), so that only a click into the box gives it the keyboard.
// --box starts with a text in the box; --deaf makes the box refuse pastes,
// like a window that never takes the text; --nofocus makes a window that
// never takes the keyboard.

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QFile>
#include <QPlainTextEdit>
#include <QWidget>

#include <cstdio>

#ifdef ZANTORIA_TESTCHAT_XCB
#include <QGuiApplication>
#include <xcb/xcb.h>
#endif

namespace {

class ChatWindow : public QWidget
{
public:
    ChatWindow(const QString &title, const QString &record, const QString &box, bool deaf, bool history)
        : m_record(record)
    {
        setWindowTitle(title);
        resize(440, 400);
        if (history) {
            auto *past = new QPlainTextEdit(this);
            past->setObjectName(QStringLiteral("history"));
            past->setGeometry(10, 10, 420, 250);
            past->setReadOnly(true);
            past->setPlainText(QStringLiteral("张三：在吗？"));
            past->installEventFilter(this);
        }
        m_box = new QPlainTextEdit(this);
        m_box->setObjectName(QStringLiteral("box"));
        m_box->setGeometry(10, history ? 270 : 10, 420, history ? 120 : 380);
        m_box->setPlainText(box);
        m_box->setReadOnly(deaf);
        m_box->setTextInteractionFlags(deaf ? Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse
                                            : Qt::TextEditorInteraction);
        m_box->installEventFilter(this);
        QObject::connect(m_box, &QPlainTextEdit::textChanged, this, [this] { write(); });
        // With a history the keyboard starts there: only a click moves it.
        if (history)
            findChild<QPlainTextEdit *>(QStringLiteral("history"))->setFocus();
        else
            m_box->setFocus();
    }

    void write()
    {
        QJsonObject o;
        o.insert(QStringLiteral("box"), m_box->toPlainText());
        o.insert(QStringLiteral("sent"), m_sent);
        if (m_ready)
            o.insert(QStringLiteral("ready"), true);
        // Renamed into place so that a reader never sees half a record, and
        // never synced: under disk load a sync would stall this window's
        // event loop for seconds.
        const QString temporary = m_record + QStringLiteral(".new");
        QFile file(temporary);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            const QByteArray json = QJsonDocument(o).toJson(QJsonDocument::Compact);
            const bool written = file.write(json) == json.size();
            file.close();
            if (written)
                std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(m_record).constData());
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // With a history, "ready" is when the window has the keyboard at all.
        if (event->type() == QEvent::FocusIn && !m_ready) {
            m_ready = true;
            write();
        }
        if (watched == m_box && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
                m_sent.append(m_box->toPlainText());
                m_box->clear();
                write();
                return true;
            }
        }
        return QWidget::eventFilter(watched, event);
    }

    void showEvent(QShowEvent *event) override
    {
        QWidget::showEvent(event);
        write();
    }

private:
    QString m_record;
    QPlainTextEdit *m_box = nullptr;
    QJsonArray m_sent;
    bool m_ready = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString title = QStringLiteral("发送消息");
    QString record;
    QString box;
    bool deaf = false;
    bool noFocus = false;
    bool history = false;
    QByteArray windowClass;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--conversation")
            title = QStringLiteral("对话模式");
        else if (args[i] == u"--deaf")
            deaf = true;
        else if (args[i] == u"--nofocus")
            noFocus = true;
        else if (args[i] == u"--record" && i + 1 < args.size())
            record = args[++i];
        else if (args[i] == u"--box" && i + 1 < args.size())
            box = args[++i];
        else if (args[i] == u"--title" && i + 1 < args.size())
            title = args[++i];
        else if (args[i] == u"--class" && i + 1 < args.size())
            windowClass = args[++i].toUtf8();
        else if (args[i] == u"--history")
            history = true;
    }
    if (record.isEmpty())
        return 2;
    ChatWindow window(title, record, box, deaf, history);
    window.setWindowFlag(Qt::WindowDoesNotAcceptFocus, noFocus);
#ifdef ZANTORIA_TESTCHAT_XCB
    // WM_CLASS is the instance and the class name, each ended by a zero.
    if (!windowClass.isEmpty()) {
        if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            const QByteArray value = windowClass + '\0' + windowClass + '\0';
            xcb_change_property(x11->connection(), XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()),
                                XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, uint32_t(value.size()), value.constData());
            xcb_flush(x11->connection());
        }
    }
#endif
    window.show();
    return app.exec();
}
