#include "shell/widgets/displayarea.h"

#include "shell/core/textcodec.h"
#include "shell/widgets/largetextview.h"

#include <QCoreApplication>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace {

// The editor keeps paragraphs; files and the rest of the program speak CR LF.
QString toCrLf(QString text)
{
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    TextCodec::toCrLf(text);
    return text;
}

bool tooLargeForTheEditor(const QString &crlf)
{
    if (crlf.size() > DisplayArea::kLargeTextCharacters)
        return true;
    if (crlf.size() <= DisplayArea::kLargeLineCharacters)
        return false;
    qsizetype start = 0;
    for (qsizetype i = crlf.indexOf(u'\n'); i >= 0; i = crlf.indexOf(u'\n', i + 1)) {
        if (i - start > DisplayArea::kLargeLineCharacters)
            return true;
        start = i + 1;
    }
    return crlf.size() - start > DisplayArea::kLargeLineCharacters;
}

QString fromCrLf(QString text)
{
    TextCodec::toLf(text);
    return text;
}

} // namespace

DisplayArea::DisplayArea(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setFontPointSize(9);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        enforceLimit();
        if (!m_enforcing)
            Q_EMIT Change();
    });
}

QString DisplayArea::text() const
{
    if (isLargeText())
        return m_large->text();
    return toCrLf(toPlainText());
}

QString DisplayArea::selectedText() const
{
    if (m_selectionSource) {
        if (std::optional<QString> elsewhere = m_selectionSource())
            return *std::move(elsewhere);
    }
    if (isLargeText())
        return m_large->allSelected() ? m_large->text() : QString();
    return toCrLf(textCursor().selectedText());
}

void DisplayArea::setText(QString text)
{
    QString crlf = std::move(text);
    TextCodec::toCrLf(crlf);
    if (m_maxLength > 0 && crlf.size() > m_maxLength) {
        crlf.truncate(m_maxLength);
        if (crlf.endsWith(u'\r') || crlf.back().isHighSurrogate())
            crlf.chop(1);
    }
    if (tooLargeForTheEditor(crlf)) {
        showLarge(std::move(crlf));
        return;
    }
    if (isLargeText()) {
        m_large->hide();
        m_large->setText(QString());
        setFocusProxy(nullptr);
    }
    setPlainText(fromCrLf(crlf));
}

DisplayArea::Prepared DisplayArea::prepare(QString text)
{
    Prepared prepared;
    TextCodec::toCrLf(text);
    prepared.large = tooLargeForTheEditor(text);
    if (prepared.large)
        prepared.text = IndexedText::index(std::move(text));
    else
        prepared.text.text = std::move(text);
    return prepared;
}

void DisplayArea::setText(Prepared prepared)
{
    if (!prepared.large || (m_maxLength > 0 && prepared.text.text.size() > m_maxLength)) {
        setText(std::move(prepared.text.text));
        return;
    }
    largeView()->setText(std::move(prepared.text));
    raiseLarge();
}

void DisplayArea::showLarge(QString crlfText)
{
    largeView()->setText(std::move(crlfText));
    raiseLarge();
}

LargeTextView *DisplayArea::largeView()
{
    if (!m_large) {
        m_large = new LargeTextView(this);
        m_large->setFont(font());
    }
    m_large->setAccessibleName(accessibleName());
    m_large->setGeometry(rect());
    // The editor lets go of its own copy first, so that the two never hold
    // the text at once; its change is not the text's.
    m_enforcing = true;
    setPlainText(QString());
    m_enforcing = false;
    return m_large;
}

void DisplayArea::raiseLarge()
{
    m_large->show();
    m_large->raise();
    setFocusProxy(m_large);
    Q_EMIT Change();
}

bool DisplayArea::isLargeText() const
{
    return m_large && !m_large->isHidden();
}

bool DisplayArea::isEmpty() const
{
    if (isLargeText())
        return m_large->text().isEmpty();
    return document()->isEmpty();
}

void DisplayArea::setMaxLength(int characters)
{
    m_maxLength = std::max(0, characters);
    enforceLimit();
}

void DisplayArea::setFontPointSize(double points)
{
    m_fontPoints = points;
    QFont f = font();
    f.setPixelSize(std::max(1, int(std::lround(points * 4.0 / 3.0))));
    setFont(f);
}

void DisplayArea::setRightMargin(int pixels)
{
    m_rightMargin = pixels;
    applyRightMargin();
}

void DisplayArea::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    if (!m_adjusting)
        applyRightMargin();
    if (m_large)
        m_large->setGeometry(rect());
}

void DisplayArea::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (m_large && event->type() == QEvent::FontChange)
        m_large->setFont(font());
}

void DisplayArea::applyRightMargin()
{
    // The plain-text editor only wraps at the width of its viewport, so a
    // fixed wrap width is a viewport narrowed to it (plus the document's own
    // margins); the strip beside it stays empty.
    constexpr int kNoWrap = 100000;
    if (m_rightMargin <= 0 || m_rightMargin >= kNoWrap) {
        dropWrapKeeper();
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setViewportMargins(0, 0, 0, 0);
        return;
    }
    const int frame = 2 * frameWidth();
    const int wanted = m_rightMargin + 2 * int(document()->documentMargin()) + 1;
    const int available = width() - frame
                          - (verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0);
    if (available >= wanted) {
        dropWrapKeeper();
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setViewportMargins(0, 0, available - wanted, 0);
        return;
    }
    // A margin wider than the box: the lines still wrap there, and the box
    // scrolls sideways. The editor lays its text out to the widest viewport
    // that shows the document, so a second view, exactly as wide as the
    // margin and never shown on screen, keeps the width of the lines.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setViewportMargins(0, 0, 0, 0);
    if (!m_wrapKeeper) {
        m_wrapKeeper = new QPlainTextEdit(this);
        m_wrapKeeper->setObjectName(QStringLiteral("wrapKeeper"));
        m_wrapKeeper->setAttribute(Qt::WA_DontShowOnScreen);
        m_wrapKeeper->setFocusPolicy(Qt::NoFocus);
        m_wrapKeeper->setFrameShape(QFrame::NoFrame);
        m_wrapKeeper->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_wrapKeeper->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_wrapKeeper->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        m_wrapKeeper->setReadOnly(true);
        m_wrapKeeper->setDocument(document());
    }
    m_wrapKeeper->resize(wanted, 1);
    m_wrapKeeper->show();
    // The scroll bars learn of the new width at the next layout of this
    // view, once the keeper has laid the text out.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_wrapKeeper)
                return;
            QResizeEvent again(viewport()->size(), viewport()->size());
            m_adjusting = true;
            QCoreApplication::sendEvent(viewport(), &again);
            m_adjusting = false;
        },
        Qt::QueuedConnection);
}

void DisplayArea::dropWrapKeeper()
{
    if (!m_wrapKeeper)
        return;
    delete m_wrapKeeper;
    m_wrapKeeper = nullptr;
    // This view lays the text out to its own width again.
    const LineWrapMode mode = lineWrapMode();
    setLineWrapMode(mode == NoWrap ? WidgetWidth : NoWrap);
    setLineWrapMode(mode);
}

bool DisplayArea::loadFile(const QString &path)
{
    QString content;
    if (!TextCodec::readFile(path, &content))
        return false;
    setText(std::move(content));
    return true;
}

bool DisplayArea::saveFile(const QString &path) const
{
    return TextCodec::writeFile(path, text());
}

void DisplayArea::enforceLimit()
{
    if (m_maxLength <= 0 || m_enforcing)
        return;
    // Line breaks count as the two characters they take in a file.
    const QString current = text();
    if (current.size() <= m_maxLength)
        return;
    m_enforcing = true;
    // Neither a line break nor a character beyond the basic plane is cut in half.
    QString kept = current.left(m_maxLength);
    if (kept.endsWith(u'\r') || (!kept.isEmpty() && kept.back().isHighSurrogate()))
        kept.chop(1);
    setText(kept);
    moveCursor(QTextCursor::End);
    m_enforcing = false;
}
