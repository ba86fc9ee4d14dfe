#pragma once

#include "shell/widgets/contentpanel.h"

#include <array>

class ClickLabel;
class QLabel;
class QPlainTextEdit;

// The About panel ("关    于"): logo, version, the maker's links and two
// fixed texts.
class AboutPanel : public ContentPanel
{
    Q_OBJECT

public:
    explicit AboutPanel(PanelContext &context, QWidget *parent = nullptr);

    // The maker's home page and mail address; the system menu's logo opens
    // the same home page.
    static QString homePage();
    static QString mailAddress();
    // The download page of one of the maker's other products (0 or 1).
    static QString downloadPage(int product);

    // Builds the panel; called once while the main window loads.
    void initAbout();
    void build() override { initAbout(); }

    QString homePageLink() const { return m_homePage; }
    QString feedbackLink() const { return m_feedback; }
    QString cooperateLink() const { return m_cooperate; }

    void lblHomePage_Click();
    void lblBug_Click();
    void lblCooperate_Click();
    void imgAbout_Click(int index);
    void picProduct_Click(int index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void buildControls();

    QString m_homePage;
    QString m_feedback;
    QString m_cooperate;

    QLabel *picAbout = nullptr;
    ClickLabel *lblHomePage = nullptr;
    ClickLabel *lblBug = nullptr;
    ClickLabel *lblCooperate = nullptr;
    std::array<ClickLabel *, 4> imgAbout {};
    std::array<ClickLabel *, 2> picProduct {};
    std::array<QPlainTextEdit *, 2> txtAbout {};
};
