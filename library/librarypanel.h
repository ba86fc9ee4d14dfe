#pragma once

#include "tipstore.h"

#include "shell/widgets/contentpanel.h"

#include <QString>

#include <array>

class CoolButton;
class DisplayArea;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class TipSearch;

// The tips library panel ("Zantoria秘笈"): pick a kind and a tip, read or
// edit its text, create, rename and delete tips, and look at the favourites.
//
// The view shows one of three things: a tip (of its own kind, which need not
// be the kind selected now), the favourites file, or nothing. A change made
// in it is offered for saving into what it shows before anything else is
// loaded.
//
// Beyond that, a search box finds tips of both kinds and the favourites by
// name or text, by characters or by pinyin (TipSearch). While it holds a
// query, a list of hits stands in for the kind's list; picking a hit shows
// it as picking it from its kind's list does, and emptying the box brings
// the kind and its list back as they were.
//
// Controls are named as the rest of the program knows them (their object
// names too, which is how tests find them).
class LibraryPanel : public ContentPanel
{
    Q_OBJECT

public:
    enum class Shows { Nothing, Tip, Favourites };

    explicit LibraryPanel(PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads.
    void InitCCMJ();
    void build() override { InitCCMJ(); }
    DisplayArea *displayArea() const override { return textPicView; }

    // Panel state, read by tests and by nobody else.
    bool isPictureKind() const { return MJIsPicture; }
    QString curMJName() const { return CurMJName; }
    bool textModified() const { return MJTextModified; }
    float fontSize() const { return MJFontSize; }
    QString badNameChars() const { return MJNameBadChars; }
    Shows shows() const { return m_shows; }
    TipKind shownKind() const { return m_shownKind; }
    QString shownFile() const { return m_shownFile; }
    const TipStore &store() const { return m_store; }
    TextCodec::Format shownFormat() const { return m_shownFormat; }

    // The procedures and handlers, callable as the controls call them.
    void InitLstPicType(int position);
    void lstPicType_Click();
    bool ReadPicData(const QString &path);
    bool SaveModifiedText();
    bool saveShownText(const QString &path);
    int FindMJNameInd(const QString &name) const;
    void AbledMJBtn(bool enabled);
    void SetTextPicViewLocked();
    void chkMJReadOnly_Click();
    void optMJStyle_Click(int index);
    void textPicView_Change();
    void btnNewMJ_Click();
    void btnMJReName_Click();
    void btnMJDel_Click();
    void btnMJSetFont_Click();
    void btnMyFavor_Click();
    // Someone appended to the favourites file.
    void favourites_Changed();

    // The search.
    void txtMJSearch_Change();
    void lstMJHits_Click();
    bool searching() const { return m_searching; }
    TipSearch &search() const { return *m_search; }

private:
    void buildControls();
    void connectControls();
    TipKind selectedKind() const { return MJIsPicture ? TipKind::Pictures : TipKind::Words; }
    bool showFile(const QString &path, Shows what);
    bool readFailed(TipOutcome outcome);
    void setContentCaption(const QString &caption);
    void refillSelecting(const QString &name);
    void clearView();
    void beginSearch();
    void showHits();
    void endSearch();
    void selectKindQuietly(TipKind kind);
    // The row of the kind's list that holds the file, or -1.
    int rowOfFile(const QString &file) const;

    QGroupBox *frameMJStyle = nullptr;
    std::array<QRadioButton *, 2> optMJStyle{};
    QLabel *lblMJType = nullptr;
    QLabel *lblMJName = nullptr;
    QListWidget *lstPicType = nullptr;
    QLabel *lblMJText = nullptr;
    DisplayArea *textPicView = nullptr;
    QCheckBox *chkMJReadOnly = nullptr;
    CoolButton *btnNewMJ = nullptr;
    CoolButton *btnMJSetFont = nullptr;
    CoolButton *btnMJDel = nullptr;
    CoolButton *btnMJReName = nullptr;
    CoolButton *btnMyFavor = nullptr;
    QLineEdit *txtMJSearch = nullptr;
    QListWidget *lstMJHits = nullptr;

    bool MJIsPicture = true;
    QString CurMJName;
    bool MJTextModified = false;
    float MJFontSize = 0;
    QString MJNameBadChars;

    TipStore m_store;
    Shows m_shows = Shows::Nothing;
    TipKind m_shownKind = TipKind::Pictures;
    QString m_shownFile; // the shown tip's file name in its kind directory
    QString m_favouritesShown; // the favourites as they were loaded
    TextCodec::Format m_shownFormat; // what the shown file was read in, to save it back in

    TipSearch *m_search = nullptr;
    bool m_searching = false;
    // The kind and the selected tip's file when the search began.
    TipKind m_kindBefore = TipKind::Pictures;
    QString m_fileBefore;
};
