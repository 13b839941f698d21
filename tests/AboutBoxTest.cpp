#include "app/Application.h"
#include "support/ScriptedServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace twinfold;
using namespace twinfold::test;

namespace
{

TEST(AboutBox, DoubleClickingThePanelOpensTheTextWindowModally)
{
    ScriptedServices ui;
    Application app(ui);
    app.AboutBox.ShowModal();
    ASSERT_TRUE(ui.modalWindows.empty());

    app.AboutBox.PanelDblClick();
    EXPECT_EQ(ui.modalWindows, (std::vector<std::string>{"TSpecialBox"}));
    EXPECT_TRUE(app.SpecialBox.visible());
    EXPECT_FALSE(app.SpecialBox.Line.empty());
    EXPECT_EQ(app.SpecialBox.Line.find('\n'), std::string::npos) << "one line of text";

    app.SpecialBox.OKButtonClick();
    EXPECT_FALSE(app.SpecialBox.visible());
    EXPECT_TRUE(app.AboutBox.visible()) << "the about box stays open under it";
    app.AboutBox.OKButtonClick();
    EXPECT_FALSE(app.AboutBox.visible());
}

} // namespace
