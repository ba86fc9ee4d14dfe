#include "shell/widgets/largetextview.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <limits>

namespace {

constexpr int kMargin = 4;

// Lines have more than an int of characters at most in theory; scroll bars
// count in ints.
int clampToInt(qsizetype v)
{
    return int(std::min<qsizetype>(v, std::numeric_limits<int>::max()));
}

} // namespace

LargeTextView::LargeTextView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
}

IndexedText IndexedText::index(QString crlfText)
{
    IndexedText t;
    t.text = std::move(crlfText);
    const qsizetype n = t.text.size();
    const QChar *c = t.text.constData();
    qsizetype start = 0;
    t.lineStarts.push_back(0);
    for (qsizetype i = t.text.indexOf(u'\n'); i >= 0; i = t.text.indexOf(u'\n', i + 1)) {
        const qsizetype end = i > start && c[i - 1] == u'\r' ? i - 1 : i;
        t.longestLine = std::max(t.longestLine, end - start);
        start = i + 1;
        t.lineStarts.push_back(quint32(start));
    }
    t.longestLine = std::max(t.longestLine, n - start);
    return t;
}

void LargeTextView::setText(QString text)
{
    // The old text and index go before the new index grows.
    m_text = QString();
    std::vector<quint32>().swap(m_lineStarts);
    setText(IndexedText::index(std::move(text)));
}

void LargeTextView::setText(IndexedText indexed)
{
    m_text = std::move(indexed.text);
    m_lineStarts = std::move(indexed.lineStarts);
    m_longestLine = indexed.longestLine;
    m_allSelected = false;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

QStringView LargeTextView::line(qsizetype index) const
{
    const qsizetype start = m_lineStarts[std::size_t(index)];
    qsizetype end = index + 1 < lineCount() ? m_lineStarts[std::size_t(index + 1)] - 1 : m_text.size();
    if (end > start && m_text.at(end - 1) == u'\r' && index + 1 < lineCount())
        --end;
    return QStringView(m_text).sliced(start, end - start);
}

int LargeTextView::visibleLines() const
{
    return std::max(1, (viewport()->height() - kMargin) / std::max(1, fontMetrics().lineSpacing()));
}

void LargeTextView::updateScrollBars()
{
    const int page = visibleLines();
    verticalScrollBar()->setRange(0, clampToInt(std::max<qsizetype>(0, lineCount() - page)));
    verticalScrollBar()->setPageStep(page);
    const int columns = std::max(1, viewport()->width() / std::max(1, fontMetrics().averageCharWidth()));
    horizontalScrollBar()->setRange(0, clampToInt(std::max<qsizetype>(0, m_longestLine - columns / 2)));
    horizontalScrollBar()->setPageStep(columns);
    horizontalScrollBar()->setSingleStep(4);
}

void LargeTextView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void LargeTextView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void LargeTextView::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    const QFontMetrics metrics = fontMetrics();
    const int spacing = std::max(1, metrics.lineSpacing());
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype firstColumn = horizontalScrollBar()->value();
    // Enough characters to cover the width even if every one were narrow.
    const qsizetype columns = viewport()->width() / std::max(1, metrics.horizontalAdvance(u'.')) + 2;
    if (m_allSelected)
        p.fillRect(viewport()->rect(), palette().highlight());
    p.setPen(m_allSelected ? palette().highlightedText().color() : palette().text().color());
    int y = kMargin + metrics.ascent();
    for (qsizetype i = first; i < lineCount() && y - metrics.ascent() < viewport()->height(); ++i, y += spacing) {
        const QStringView text = line(i);
        if (firstColumn >= text.size())
            continue;
        p.drawText(kMargin, y, text.sliced(firstColumn, std::min(columns, text.size() - firstColumn)).toString());
    }
}

void LargeTextView::selectAll()
{
    m_allSelected = !m_text.isEmpty();
    viewport()->update();
}

void LargeTextView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::Copy)) {
        if (m_allSelected)
            QApplication::clipboard()->setText(m_text);
    } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        verticalScrollBar()->setValue(0);
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    } else if (event->key() == Qt::Key_Down) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (event->key() == Qt::Key_Up) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (event->key() == Qt::Key_PageDown) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (event->key() == Qt::Key_PageUp) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (event->key() == Qt::Key_Right) {
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (event->key() == Qt::Key_Left) {
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}
