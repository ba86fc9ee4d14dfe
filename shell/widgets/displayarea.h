#pragma once

#include "shell/widgets/largetextview.h"

#include <QPlainTextEdit>

#include <functional>
#include <optional>

// The display area of the panels and of the space compressor: a plain-text
// view whose text uses CR LF line breaks, with an optional character limit,
// a lock against typing, and loading and saving through the text codec.
//
// A text too large for the editor (more than kLargeTextCharacters in all,
// or a line longer than kLargeLineCharacters) is shown read-only by a
// LargeTextView laid over the editor, which takes a moment where the editor
// would take many seconds and many times the memory; text() and the rest
// work as ever. A smaller text brings the editor back.
class DisplayArea : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DisplayArea(QWidget *parent = nullptr);

    // The whole text and the selection, lines joined with CR LF.
    QString text() const;
    QString selectedText() const;

    // While the picture in this area is shown elsewhere (the paint canvas), a
    // selection made there is what selectedText() gives, and so what the tool
    // panel copies, sends and adds to the favourites; the source answers
    // nothing while that view has no selection.
    using SelectionSource = std::function<std::optional<QString>()>;
    void setSelectionSource(SelectionSource source) { m_selectionSource = std::move(source); }
    void setText(QString text); // handed over (std::move), a large text is not copied
    bool isEmpty() const;

    // 0 means no limit. Typing or pasting beyond the limit is cut off.
    void setMaxLength(int characters);
    int maxLength() const { return m_maxLength; }

    // Lines wrap this many pixels from the left of the text; 0, or a margin
    // wider than any screen, means no wrapping.
    void setRightMargin(int pixels);
    int rightMargin() const { return m_rightMargin; }

    void setLocked(bool locked) { setReadOnly(locked); }
    bool isLocked() const { return isReadOnly(); }

    // Font size in points (the face stays).
    void setFontPointSize(double points);
    double fontPointSize() const { return m_fontPoints; }

    static constexpr qsizetype kLargeTextCharacters = 2'000'000;
    static constexpr qsizetype kLargeLineCharacters = 100'000;
    bool isLargeText() const;

    // A text made ready on any thread: its line ends in CR LF and, when it
    // is too large for the editor, its lines indexed, so that setText shows
    // a large text in a moment whatever its size.
    struct Prepared
    {
        IndexedText text;
        bool large = false;
    };
    static Prepared prepare(QString text);
    void setText(Prepared prepared);

    // Loads a file as plain text; false (and the text unchanged) on failure.
    bool loadFile(const QString &path);
    // Saves the text as it stands; false on failure.
    bool saveFile(const QString &path) const;

Q_SIGNALS:
    void Change();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showLarge(QString crlfText);
    LargeTextView *largeView();
    void raiseLarge();
    void applyRightMargin();
    void dropWrapKeeper();
    void enforceLimit();

    int m_maxLength = 0;
    double m_fontPoints = 9;
    bool m_enforcing = false;
    int m_rightMargin = 0;
    QPlainTextEdit *m_wrapKeeper = nullptr;
    bool m_adjusting = false;
    LargeTextView *m_large = nullptr; // visible only while it holds the text
    SelectionSource m_selectionSource;
};
