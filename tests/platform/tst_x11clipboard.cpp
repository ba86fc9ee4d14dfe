// Reading the user's clipboard from another program that owns it (a small
// owner of the tests' own): answers sent in pieces, slow owners and late
// answers.

#include "clipboardowner.h"

#include <QTest>

// Xlib's macros (Bool, Status) break Qt headers included after it.
#include "platform/x11clipboard.h"

#include <X11/Xlib.h>

namespace {

using platform::x11::ClipboardContents;
using platform::x11::ClipboardLimits;
using platform::x11::SelectionFormat;

const SelectionFormat *form(const ClipboardContents &contents, Display *display, const char *target)
{
    const Atom a = XInternAtom(display, target, False);
    for (const SelectionFormat &f : contents.formats) {
        if (f.target == a)
            return &f;
    }
    return nullptr;
}

QByteArray bytes(const SelectionFormat *f)
{
    return f ? QByteArray(f->data.data(), qsizetype(f->data.size())) : QByteArray();
}

} // namespace

class TestX11Clipboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void textSentInPiecesIsPutTogether();
    void formBeyondTheCapIsLeftOutAtOnce();
    void slowFormCostsNeitherTheTextNorTheNextRead();

private:
    ClipboardContents read(ClipboardLimits limits = {})
    {
        return platform::x11::readClipboard(m_display, m_helper, limits, {});
    }

    Display *m_display = nullptr;
    Window m_helper = None;
};

void TestX11Clipboard::init()
{
    m_display = XOpenDisplay(nullptr);
    if (!m_display)
        QSKIP("needs an X server (DISPLAY)");
    m_helper = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), -10, -10, 1, 1, 0, 0, 0);
}

void TestX11Clipboard::cleanup()
{
    if (m_display)
        XCloseDisplay(m_display);
    m_display = nullptr;
}

void TestX11Clipboard::textSentInPiecesIsPutTogether()
{
    const QByteArray text = ClipboardOwner::numberedText(300 * 1000);
    ClipboardOwner owner(text);
    QVERIFY(owner.owning());
    const ClipboardContents contents = read();
    QVERIFY(contents.owned);
    QCOMPARE(contents.formats.size(), std::size_t(1));
    const SelectionFormat *utf8 = form(contents, m_display, "UTF8_STRING");
    QVERIFY(utf8);
    QCOMPARE(utf8->type, XInternAtom(m_display, "UTF8_STRING", False));
    QCOMPARE(utf8->format, 8);
    QCOMPARE(utf8->items, static_cast<unsigned long>(text.size()));
    QCOMPARE(bytes(utf8), text);
    // The same again: nothing of the first transfer is left to disturb it.
    QCOMPARE(bytes(form(read(), m_display, "UTF8_STRING")), text);
}

void TestX11Clipboard::formBeyondTheCapIsLeftOutAtOnce()
{
    ClipboardOwner owner(ClipboardOwner::numberedText(int(platform::x11::kClipboardCap) + 1024));
    QVERIFY(owner.owning());
    const ClipboardContents contents = read();
    QVERIFY(contents.owned);
    QVERIFY(contents.formats.empty());
}

void TestX11Clipboard::slowFormCostsNeitherTheTextNorTheNextRead()
{
    // The owner offers its slow form before the text, and answers it
    // after 2.5 s, answering nothing else meanwhile.
    const QByteArray text = ClipboardOwner::numberedText(100 * 1000);
    ClipboardOwner owner(text, {QStringLiteral("--slow"), QStringLiteral("2500")});
    QVERIFY(owner.owning());
    const ClipboardContents first = read({std::chrono::milliseconds(1000), std::chrono::seconds(4)});
    QCOMPARE(bytes(form(first, m_display, "UTF8_STRING")), text);
    QVERIFY(!form(first, m_display, "application/x-zantoria-slow"));

    // The late answer to the first read arrives while the next one waits
    // for the list of forms: it is not taken for that list.
    const ClipboardContents second = read({std::chrono::seconds(6), std::chrono::seconds(12)});
    QCOMPARE(second.formats.size(), std::size_t(2));
    // In the owner's order, though the text was asked for first.
    QCOMPARE(second.formats[0].target, XInternAtom(m_display, "application/x-zantoria-slow", False));
    QCOMPARE(bytes(&second.formats[0]), QByteArray("late"));
    QCOMPARE(bytes(&second.formats[1]), text);
}

QTEST_GUILESS_MAIN(TestX11Clipboard)
#include "tst_x11clipboard.moc"
