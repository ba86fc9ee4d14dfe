#pragma once

#include "plugininfo.h"

#include "shell/core/textcodec.h"
#include "shell/widgets/contentpanel.h"

#include <QStringList>

#include <array>

class CoolButton;
class PanelBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// The plug-in manager ("插件管理"): lists the description files of the
// plug-in directory, starts the selected plug-in, edits its description in
// place or saves it under another name, adds a description for a new
// plug-in and removes one.
//
// Controls are named as the rest of the program knows them (their object
// names too, which is how tests find them).
class PluginPanel : public ContentPanel
{
    Q_OBJECT

public:
    explicit PluginPanel(PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads.
    void initCJ();
    void build() override { initCJ(); }

    // Panel state, read by tests.
    QString cjDir() const { return CJDir; }
    const CJInfo &curCJ() const { return CurCJ; }
    const CJInfo &newCJ() const { return NewCJ; }
    const CJInfo &readCJ() const { return ReadCJ; }
    // The description files as the list shows them, from its last build.
    const QStringList &listedFiles() const { return m_files; }

    // The procedures and handlers, callable as the controls call them.
    void CJRefresh();
    void InitCJList(int position);
    void lstCJ_Click();
    void lstCJ_DblClick();
    void lstCJ_MouseMove();
    void chkCJ_Click(int index);
    void CJActCur(bool enabled);
    void CJActNew(bool enabled);
    void cmdCJ_Click(int index);
    void btnCJ_Click(int index);
    int FindCJNameInd(const QString &name) const;
    void ReadCJFile(const QString &path);
    bool WriteCJCurFile(const QString &path);
    bool WriteCJNewFile(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void connectControls();
    // Ticks "添加新插件", its handler run once.
    void chooseAddNew();
    QLineEdit *addField(QGroupBox *frame, int row, const QString &objectName, QLabel *label);

    // The description files of CJDir, sorted as the list shows them.
    QStringList listFiles() const;
    // The description file of a plug-in name: CJDir + "/" + name + ".ini",
    // an existing file in any letter case standing for it.
    QString descriptionPath(const QString &name) const;
    // A path as a plug-in's Path means it: relative to the program directory.
    QString absolutePluginPath(const QString &path) const;
    // The checks every save and add makes before its empty check.
    bool namesAreValid(const QString &name, const QString &path, const CJInfo &values) const;
    CJInfo currentFields() const;
    int selectedPosition() const;
    int filePosition(const QString &fileName) const;

    // The actions; true when they rebuilt the list (the button's frame is
    // then left as the pointer has it).
    void runSelected();
    void reportFailure(int index);
    bool saveInPlace();
    void saveAs();
    bool addNew();
    void clearNewFields();
    void removeSelected();
    void showInvalidName();
    void showEmptyName();

    QLabel *lblCJ[9] {};
    QListWidget *lstCJ = nullptr;
    std::array<QRadioButton *, 2> chkCJ {};
    std::array<QGroupBox *, 2> frameCJ {};
    QLineEdit *CJCName = nullptr;
    QLineEdit *CJCVer = nullptr;
    QLineEdit *CJCPath = nullptr;
    QLineEdit *CJCDes = nullptr;
    QLineEdit *CJNName = nullptr;
    QLineEdit *CJNVer = nullptr;
    QLineEdit *CJNPath = nullptr;
    QLineEdit *CJNDes = nullptr;
    std::array<QPushButton *, 2> cmdCJ {};
    std::array<PanelBox *, 2> CJPic {};
    std::array<CoolButton *, 6> btnCJ {};

    QString CJDir;
    CJInfo CurCJ;
    CJInfo NewCJ;
    CJInfo ReadCJ;
    TextCodec::Format m_readFormat; // what ReadCJ was read in
    TextCodec::Format m_curFormat; // what CurCJ's file was read in, to save it back in
    QStringList m_files; // the files behind the list's entries, in its order
    bool m_busy = false;
};
