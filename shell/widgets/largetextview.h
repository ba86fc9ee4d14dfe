#pragma once

// A read-only view of a text too large for the editor: millions of lines,
// or lines of millions of characters. The editor lays out a whole line (a
// paragraph) at once, which for such a text takes seconds and hundreds of
// megabytes; this view keeps the text and where each line starts, and
// draws only what is on screen, without wrapping. Scrolling is by lines
// down and by characters across. Ctrl+A selects everything, Ctrl+C copies
// what is selected; there is no other selection.

#include <QAbstractScrollArea>
#include <QString>

#include <QtGlobal>

#include <vector>

// A text with CR LF line breaks and where each of its lines starts. Made by
// index() on any thread, so that the view takes a text that is ready without
// looking through it again.
struct IndexedText
{
    QString text;
    std::vector<quint32> lineStarts; // a text of 4 Gi characters is far beyond any file here
    qsizetype longestLine = 0;

    static IndexedText index(QString crlfText);
};

class LargeTextView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit LargeTextView(QWidget *parent = nullptr);

    // The text with CR LF line breaks, as it stands.
    void setText(QString text);
    void setText(IndexedText indexed);
    const QString &text() const { return m_text; }
    qsizetype lineCount() const { return qsizetype(m_lineStarts.size()); }

    void selectAll();
    bool allSelected() const { return m_allSelected; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();
    QStringView line(qsizetype index) const;
    int visibleLines() const;

    QString m_text;
    std::vector<quint32> m_lineStarts;
    qsizetype m_longestLine = 0;
    bool m_allSelected = false;
};
