#pragma once

#include "shell/widgets/coolbutton.h"
#include "shell/core/skinrules.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <array>

class QPainter;
class QWidget;

QString skinFailureText();
QString skinFailureTitle();

// Loads a skin directory into a borderless window: edges, corners, caption
// and caption buttons, background colour and picture. The frame is painted
// once into an image that the window draws whenever it repaints, so it stays
// after the piece pictures are released.
class SkinFrame : public QObject
{
    Q_OBJECT

public:
    // The pieces of a skin directory, numbered as the bitmaps are loaded.
    enum Piece {
        Top = 1,
        Bottom,
        Left,
        Right,
        LeftTop,
        RightTop,
        LeftBottom,
        RightBottom,
        Min,
        Max,
        Restore,
        Close,
        BtnBack,
        BtnControl,
        FormLostFocus,
        BtnControlBack,
    };
    static constexpr int kPieceCount = 16;

    // The bitmap file of each piece, as the skin directory names it.
    static QString pieceFileName(int piece);

    explicit SkinFrame(QObject *parent = nullptr);
    ~SkinFrame() override;

    // Applies the skin; throws SkinError when the skin cannot be applied.
    void InitSkinForm(QWidget *window, const QString &caption, const QString &mode, const QString &flag,
                      const QString &skinDir);

    // Releases the piece pictures once nothing reads them any more; the
    // drawn frame and the piece sizes stay.
    void FreeSkinPics();

    void LoadSkinPics(const QString &dir);
    void LoadSkinIni(const QString &path);
    static QString ReadSkinKey(const QString &path, const QString &key);

    // Paints background, edges, corners into the frame image and gives the
    // caption buttons their pictures.
    void DrawSkinFrame();
    // Places the caption text and buttons, then draws the frame again.
    void LayoutSkinButtons();

    void PaintSkinPiece(QPainter &window, const QImage &piece, int x, int y);
    void TileSkinPiece(QPainter &window, const QImage &piece);
    void TileSkinRow(QPainter &window, const QImage &piece, int y);
    void TileSkinColumn(QPainter &window, const QImage &piece, int x);

    void SkinMinimize();
    void SkinMaxRestore();
    void SkinCaptionDblClick(int y);
    // Starts a window move when the press qualifies; true when it did ask
    // the window system for one.
    bool SkinDragWindow(Qt::MouseButton button, int x, int y, const QString &area);
    void SkinClose();

    // What the rest of the window is laid out from.
    QSize pieceSize(int piece) const;
    QColor backColor() const { return QColor(SkinRed, SkinGreen, SkinBlue); }
    bool hasBackPicture() const { return SkinHasBackPic; }
    bool maxAllowed() const { return SkinMaxAllowed; }
    int captionHeight() const { return SkinCaptionHeight; }
    int rightLimit() const { return SkinRightLimit; }
    int captionLeft() const { return SkinCaptionLeft; }
    bool picturesLoaded() const { return !m_pics[Top].isNull(); }

    // The drawn frame, as large as the window.
    const QImage &frame() const { return m_frame; }

    CoolButton *btnControl() const { return m_btnControl; }
    CoolButton *btnMin() const { return m_btnMin; }
    CoolButton *btnMax() const { return m_btnMax; }
    CoolButton *btnClose() const { return m_btnClose; }
    QLabel *WinCaption() const { return m_winCaption; }

Q_SIGNALS:
    // The frame image was drawn again; the window repaints.
    void frameChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void applySkin(const QString &caption, const QString &mode, const QString &flag, const QString &skinDir);
    QImage loadPicture(const QString &dir, const QString &name) const;
    void showHover(CoolButton *button, bool hot);

    QPointer<QWidget> SkinForm;
    QString SkinDir;
    int SkinRed = 0;
    int SkinGreen = 0;
    int SkinBlue = 0;
    bool SkinHasBackPic = false;
    QString SkinCaption;
    QString SkinMode;
    bool SkinMaxAllowed = true;
    int SkinCaptionHeight = 0;
    int SkinRightLimit = 0;
    int SkinCaptionLeft = 0;
    int m_lastPointerY = 0;

    std::array<QImage, kPieceCount + 1> m_pics; // element 0 unused
    std::array<QSize, kPieceCount + 1> m_sizes;
    QImage BackPicture;
    QImage m_frame;

    QPointer<CoolButton> m_btnControl;
    QPointer<CoolButton> m_btnMin;
    QPointer<CoolButton> m_btnMax;
    QPointer<CoolButton> m_btnClose;
    QPointer<QLabel> m_winCaption;
    QPointer<CoolButton> m_hovered; // its resting face is kept below
    QPixmap m_restPicture;
    QPixmap m_restIcon;
};
